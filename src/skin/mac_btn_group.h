#pragma once
// NMacBtnGroup: a grid of latching CMacButtons of which one is down at a
// time, such as the manager window's row of view buttons. A click on a
// button that is up latches it down, puts the others up and passes the
// command on to the group's parent; a click on the button already down does
// nothing.
//
//   NMacBtnGroup views;
//   views.Create(rect, dialog, backgroundBrush);
//   views.CreateButtons({"Visits", "Blocked", ...}, {179, 180, ...}, 1, 7, font);
//   views.SelectById(179);
#include <memory>
#include <string>
#include <vector>

#include "framework/wnd.h"
#include "skin/mac_button.h"

namespace krx {

class NMacBtnGroup : public CWnd {
 public:
  NMacBtnGroup() = default;
  ~NMacBtnGroup() override;

  // A visible child window with id 65535, painted with `background` (not
  // owned; the caller keeps it alive while the group lives).
  BOOL Create(const RECT& rect, HWND parent, HBRUSH background);
  // Fills the grid row by row. FALSE, creating nothing, when the arrays
  // differ in length, the window does not exist, or the grid is empty or
  // too small for the labels.
  BOOL CreateButtons(const std::vector<std::string>& labels, const std::vector<UINT>& ids, int rows, int columns,
                     HFONT font);
  // Places the group at (left, top)-(right, bottom) in its parent and spreads
  // the buttons over it.
  void Layout(int left, int top, int right, int bottom);

  void SelectById(UINT id);
  // The id of the first button that is down, 0 if none is.
  UINT GetSelectedId() const;
  CMacButton* FindButton(UINT id) const;
  size_t GetButtonCount() const { return buttons_.size(); }
  void SetTheme(HBRUSH background, int index);

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void DestroyButtons();

  int rows_ = 0;
  int columns_ = 0;
  std::vector<std::unique_ptr<CMacButton>> buttons_;
};

}  // namespace krx
