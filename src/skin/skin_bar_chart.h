#pragma once
// CSkinBarChart: the Statistics window's bar chart, a window of its own
// class. It draws a chart laid out by the core (stats_chart.h) in a theme's
// colours: the plot in the theme's light colour with its scale lines, one
// bar a day (the busiest in the frame colour), the counts over the bars and
// the days under them. The scale stays at the left while the bars scroll
// sideways when there are more days than fit; it opens on the newest days.
//
//   chart.Create(RECT{12, 60, 628, 302}, dialog, 1);
//   chart.SetTheme(theme);
//   chart.SetFont(dialog.NormalFont());
//   chart.SetChart(LayoutStatsChart(stats));
#include "core/stats_chart.h"
#include "framework/wnd.h"

namespace krx {

class CSkinBarChart : public CWnd {
 public:
  BOOL Create(const RECT& rect, HWND parent, UINT id);
  // Shows the chart scrolled to its right end (the newest days).
  void SetChart(StatsChart chart);
  void SetTheme(int theme);
  // Not owned; it must outlive the control.
  void SetFont(HFONT font) { font_ = font; }

  const StatsChart& Chart() const { return chart_; }
  // How far the bars are scrolled to the left, in pixels.
  int ScrollPos() const { return scroll_; }
  // Scrolls so the bars' area starts `pos` pixels into the chart (clamped).
  void ScrollTo(int pos);

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void Paint(HDC dc, const RECT& client);
  void OnHScroll(int code);
  void UpdateScrollBar();
  int MaxScroll() const;

  StatsChart chart_{};
  int theme_ = 0;
  HFONT font_ = nullptr;
  int scroll_ = 0;
};

}  // namespace krx
