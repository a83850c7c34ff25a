#pragma once
// NFlash: a child window that hosts the flash player ActiveX control in
// place and drives it through its dispatch properties. Where the control is
// not installed, Create returns FALSE and the window is not created; every
// other call is then harmless.
//
//   NFlash flash;
//   if (flash.Create(dialog, rect, 1020, path)) flash.SetBackgroundColour(RGB(255, 255, 255));
#include <ole2.h>
#include <windows.h>

#include <string>

#include "framework/wnd.h"
#include "skin/flash_site.h"

namespace krx {

class NFlash : public CWnd {
 public:
  // {D27CDB6E-AE6D-11CF-96B8-444553540000}
  static const CLSID kClsid;
  enum : DISPID { kMovie = 102, kBackgroundColor = 123, kTotalFrames = 124, kPlaying = 125 };

  NFlash() = default;
  ~NFlash() override;

  BOOL Create(HWND parent, const RECT& rect, UINT id, const std::string& moviePath);
  // Sets the movie and reads its frame count (-1 when the control fails).
  void LoadMovie(const std::string& path);
  void SetBackgroundColour(COLORREF colour);
  int GetTotalFrames() const { return totalFrames_; }
  bool HasControl() const { return control_ != nullptr; }

  // Right-button-up never reaches the control (it would show its own menu);
  // a command beeps and goes on.
  bool PreTranslateMessage(MSG* msg) override;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  bool CreateControl();
  void ReleaseControl();
  HRESULT PutProperty(DISPID id, VARIANT& value);
  HRESULT GetProperty(DISPID id, VARIANT& value);

  FlashSite site_;
  IDispatch* control_ = nullptr;  // owned reference
  IOleObject* object_ = nullptr;  // owned reference, when the control has one
  bool oleStarted_ = false;
  int totalFrames_ = -1;
};

}  // namespace krx
