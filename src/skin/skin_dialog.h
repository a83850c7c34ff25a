#pragma once
// CSkinDialog: the base of every secondary window. A borderless dialog that
// draws its own chrome: a 25-pixel picture bar from the theme's caption
// JPEG with the program icon, a bold title and a close button (command id
// 2, so it cancels), a three-line frame in the theme's colours, the theme's
// background for itself and its static controls, and dragging by the bar.
//
//   class CLoginDlg : public CSkinDialog {
//     BOOL OnInitDialog() override {
//       MoveWindow(0, 0, 300, 200);       // size first: the caption uses it
//       CSkinDialog::OnInitDialog();      // then the chrome
//       ok_.Create("&OK", WS_CHILD | WS_VISIBLE, rect, m_hWnd, IDOK);
//       ok_.SetFont(NormalFont());
//       ok_.SetTheme(GetTheme());
//       return TRUE;
//     }
//   };
//   CLoginDlg dlg;  dlg.SetThemeIndex(theme);  dlg.DoModal();
//
// It starts from the empty template 129 (or an identical template in memory
// when the program carries no such resource). A derived dialog whose object
// may die while its window is open calls DestroyWindow() in its destructor,
// so the window's last messages still reach the whole object.
#include <string>

#include "framework/dialog.h"
#include "framework/gdi.h"
#include "skin/jpeg_static.h"
#include "skin/mac_button.h"
#include "skin/skin_static.h"

namespace krx {

class CSkinDialog : public CDialog {
 public:
  explicit CSkinDialog(HWND parent = nullptr, UINT templateId = 129);
  ~CSkinDialog() override;

  BOOL OnInitDialog() override;

  // Re-skins the open dialog and its themed children; nothing happens (and
  // nothing repaints) when the index is the current one.
  // Virtual so that a dialog which keeps its theme elsewhere too (the
  // options window, whose theme is also a setting) hears every change,
  // whatever type the caller holds.
  virtual void SetTheme(int index);
  // Sets the index before the window exists.
  virtual void SetThemeIndex(int index) { theme_ = index; }
  virtual int GetTheme() const { return theme_; }

  HFONT NormalFont() const { return normalFont_; }
  HFONT CaptionFont() const { return captionFont_; }
  HBRUSH BackgroundBrush() const { return background_; }
  CMacButton& CloseButton() { return closeButton_; }
  CSkinStatic& Title() { return title_; }
  CJpegStatic& CaptionBar() { return captionBar_; }
  HICON WindowIcon() const { return windowIcon_; }

  // Draws the three-line frame on the window's edge.
  void DrawFrame();

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  const DLGTEMPLATE* FallbackTemplate() override;

 private:
  LRESULT OnCtlColor(UINT msg, HDC dc);
  void OnActivate(WPARAM wParam);
  void OnMouse(UINT msg, WPARAM wParam, LPARAM lParam);

  CJpegStatic captionBar_;
  CSkinStatic title_;
  CSkinStatic captionIcon_;
  CFont normalFont_;
  CFont captionFont_;
  int theme_ = kDefaultTheme;
  CMacButton closeButton_;
  CIcon windowIcon_;
  CBrush background_;
  bool dragging_ = false;
};

}  // namespace krx
