#pragma once
// CSkinListBox: an owner-drawn list box (LBS_OWNERDRAWFIXED or VARIABLE with
// LBS_HASSTRINGS) that paints its selection in theme colours.
//
//   CSkinListBox list;
//   list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
//               rect, dialog, 1005);
//   list.SetSelectionBackground(theme[5]);
#include <string>

#include "framework/list_box.h"

namespace krx {

class CSkinListBox : public CListBox {
 public:
  BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD exStyle = 0);
  BOOL SubclassDlgItem(UINT id, HWND parent);

  void SetSelectionBackground(COLORREF colour) { selectionBack_ = colour; }
  void SetSelectionFrame(COLORREF colour) { selectionFrame_ = colour; }
  void SetSelectionText(COLORREF colour) { selectionText_ = colour; }
  // 0 measures every item; otherwise every item gets this height.
  void SetItemHeight(int height);
  void ResetContent();
  // The widest text (in the list box's font) + 10 becomes the scrolling width.
  void UpdateHorizontalExtent();
  int GetLastSelection() const { return lastSelection_; }

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  virtual void DrawItem(const DRAWITEMSTRUCT& item);
  virtual void MeasureItem(MEASUREITEMSTRUCT& item);

 private:
  int MeasureText(const std::string& text) const;
  // A fixed-height list box asks its height while it is created, before it
  // is ours; we set it right after.
  void ApplyFixedHeight();

  COLORREF background_ = RGB(255, 255, 255);
  COLORREF selectionBack_ = RGB(100, 150, 200);
  COLORREF selectionFrame_ = RGB(180, 220, 250);
  COLORREF selectionText_ = RGB(255, 255, 255);
  int itemHeight_ = 0;
  int lastSelection_ = -1;
};

}  // namespace krx
