#include "skin/skin_bar_chart.h"

#include <algorithm>
#include <utility>

#include "core/stats_colours.h"
#include "core/theme_table.h"
#include "framework/gdi.h"

namespace krx {

namespace {

const char kClassName[] = "KrxSkinBarChart";

void Text(HDC dc, int x, int y, const std::string& text, UINT align) {
  SetTextAlign(dc, align | TA_BASELINE);
  TextOutA(dc, x, y, text.c_str(), int(text.size()));
}

void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  RECT r = {left, top, right, bottom};
  CBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush);
}

}  // namespace

BOOL CSkinBarChart::Create(const RECT& rect, HWND parent, UINT id) {
  if (!RegisterWndClass(kClassName, CS_HREDRAW | CS_VREDRAW, LoadCursor(nullptr, IDC_ARROW))) return FALSE;
  return CreateEx(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_HSCROLL, rect, parent, id);
}

void CSkinBarChart::SetChart(StatsChart chart) {
  chart_ = std::move(chart);
  scroll_ = MaxScroll();
  UpdateScrollBar();
  if (m_hWnd) Invalidate(FALSE);
}

void CSkinBarChart::SetTheme(int theme) {
  theme_ = theme;
  if (m_hWnd) Invalidate(FALSE);
}

int CSkinBarChart::MaxScroll() const {
  if (!m_hWnd) return 0;
  const int shown = GetClientRect().right - chart_.plotLeft;
  return std::max(0, chart_.width - chart_.plotLeft - shown);
}

void CSkinBarChart::ScrollTo(int pos) {
  scroll_ = std::clamp(pos, 0, MaxScroll());
  UpdateScrollBar();
  Invalidate(FALSE);
}

void CSkinBarChart::UpdateScrollBar() {
  if (!m_hWnd) return;
  // The scroll range covers the bars' area only: the scale never moves.
  SCROLLINFO info = {};
  info.cbSize = sizeof info;
  // No bar at all while every bar fits (an empty bar without a thumb
  // only says there is nothing to scroll).
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.nMin = 0;
  info.nMax = std::max(0, chart_.width - chart_.plotLeft - 1);
  info.nPage = UINT(std::max(0L, GetClientRect().right - chart_.plotLeft));
  info.nPos = scroll_;
  SetScrollInfo(m_hWnd, SB_HORZ, &info, TRUE);
}

void CSkinBarChart::OnHScroll(int code) {
  const int page = std::max(ChartMetrics::kPitch, int(GetClientRect().right) - chart_.plotLeft - ChartMetrics::kPitch);
  int pos = scroll_;
  switch (code) {
    case SB_LINELEFT: pos -= ChartMetrics::kPitch; break;
    case SB_LINERIGHT: pos += ChartMetrics::kPitch; break;
    case SB_PAGELEFT: pos -= page; break;
    case SB_PAGERIGHT: pos += page; break;
    case SB_LEFT: pos = 0; break;
    case SB_RIGHT: pos = MaxScroll(); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO info = {};
      info.cbSize = sizeof info;
      info.fMask = SIF_TRACKPOS;
      GetScrollInfo(m_hWnd, SB_HORZ, &info);
      pos = info.nTrackPos;
      break;
    }
    default: return;
  }
  ScrollTo(pos);
}

bool CSkinBarChart::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case WM_ERASEBKGND:
      result = 1;  // Paint covers every pixel
      return true;
    case WM_PAINT: {
      CPaintDC dc(m_hWnd);
      Paint(dc, GetClientRect());
      result = 0;
      return true;
    }
    case WM_PRINTCLIENT:
      Paint(HDC(wParam), GetClientRect());
      result = 0;
      return true;
    case WM_HSCROLL:
      OnHScroll(LOWORD(wParam));
      result = 0;
      return true;
    case WM_SIZE:
      scroll_ = std::min(scroll_, MaxScroll());
      UpdateScrollBar();
      return false;
    default:
      (void)lParam;
      return false;
  }
}

void CSkinBarChart::Paint(HDC target, const RECT& client) {
  // Drawn off screen and copied once: a scroll repaints without flicker.
  CMemDC dc(target);
  CBitmap bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
  CSelect useBitmap(dc, bitmap);
  CSelect useFont(dc, font_);
  SetBkMode(dc, TRANSPARENT);
  const ThemeColours& c = GetThemeColours(theme_);
  SetTextColor(dc, StatsColoursOf(theme_).text);
  const int plotTop = ChartMetrics::kTopRoom, base = chart_.baseline, left = chart_.plotLeft;

  Fill(dc, 0, 0, client.right, client.bottom, c[kThemeBackground]);
  Fill(dc, left, plotTop, client.right, base, c[kThemeHighlight]);
  for (const ChartTick& t : chart_.ticks) {
    Fill(dc, left, t.y, client.right, t.y + 1, c[kThemeShadow]);
    Text(dc, left - 6, t.y + 4, t.label, TA_RIGHT);
  }
  // The bars' area, clipped so a bar scrolled past the scale is hidden.
  CRgn clip(CreateRectRgn(left, 0, client.right, client.bottom));
  SelectClipRgn(dc, clip);
  CBrush barBrush(CreateSolidBrush(c[kThemeFrameMiddle])), busiestBrush(CreateSolidBrush(c[kThemeBorder]));
  CPen outline(CreatePen(PS_SOLID, 1, c[kThemeBorder]));
  CSelect usePen(dc, outline);
  for (const ChartBar& b : chart_.bars) {
    const int x = b.left - scroll_, mid = x + (b.right - b.left) / 2;
    if (b.right - scroll_ < left || x > client.right) continue;
    CSelect useBrush(dc, b.busiest ? busiestBrush : barBrush);
    Rectangle(dc, x, b.top, x + (b.right - b.left), base + 1);
    Text(dc, mid, b.top - 4, b.count, TA_CENTER);
    Text(dc, mid, base + 14, b.day, TA_CENTER);
    if (!b.year.empty()) Text(dc, mid, base + 28, b.year, TA_CENTER);
  }
  // Where time jumps: two slanted strokes across the baseline, the jump under them.
  CPen breakPen(CreatePen(PS_SOLID, 2, c[kThemeBorder]));
  CSelect useBreakPen(dc, breakPen);
  for (const ChartBreak& b : chart_.breaks) {
    const int x = b.x - scroll_;
    for (int dx : {-4, 3}) {
      MoveToEx(dc, x + dx - 3, base + 5, nullptr);
      LineTo(dc, x + dx + 3, base - 5);
    }
    Text(dc, x, base + 14, b.label, TA_CENTER);
  }
  SelectClipRgn(dc, nullptr);
  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

}  // namespace krx
