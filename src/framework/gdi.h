#pragma once
// RAII for GDI objects and device contexts. Draw with the plain Win32 calls
// on the HDC these hand out:
//
//   CPaintDC dc(hwnd);                       // BeginPaint .. EndPaint
//   CPen pen(CreatePen(PS_INSIDEFRAME, 1, colour));
//   CSelect usePen(dc, pen);                 // selected until scope end
//   RoundRect(dc, ...);
#include <windows.h>

#include <utility>

namespace krx {

// An owned HPEN, HBRUSH, HFONT, HBITMAP or HRGN, deleted at destruction.
template <typename Handle>
class CGdiObject {
 public:
  CGdiObject() = default;
  explicit CGdiObject(Handle h) : handle_(h) {}
  ~CGdiObject() { Reset(); }
  CGdiObject(CGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  CGdiObject& operator=(CGdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;

  void Reset(Handle h = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = h;
  }
  Handle Get() const { return handle_; }
  operator Handle() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  Handle handle_ = nullptr;
};

using CPen = CGdiObject<HPEN>;
using CBrush = CGdiObject<HBRUSH>;
using CFont = CGdiObject<HFONT>;
using CBitmap = CGdiObject<HBITMAP>;
using CRgn = CGdiObject<HRGN>;

// Selects an object into a DC and restores the previous one at scope end.
class CSelect {
 public:
  CSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~CSelect() {
    if (old_) SelectObject(dc_, old_);
  }
  CSelect(const CSelect&) = delete;
  CSelect& operator=(const CSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Saves the DC's state (mode, colours, selections) and restores it.
class CSaveDC {
 public:
  explicit CSaveDC(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  ~CSaveDC() { RestoreDC(dc_, saved_); }
  CSaveDC(const CSaveDC&) = delete;
  CSaveDC& operator=(const CSaveDC&) = delete;

 private:
  HDC dc_;
  int saved_;
};

class CClientDC {
 public:
  explicit CClientDC(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  ~CClientDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  CClientDC(const CClientDC&) = delete;
  CClientDC& operator=(const CClientDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

class CWindowDC {
 public:
  explicit CWindowDC(HWND hwnd) : hwnd_(hwnd), dc_(GetWindowDC(hwnd)) {}
  ~CWindowDC() {
    if (dc_) ReleaseDC(hwnd_, dc_);
  }
  CWindowDC(const CWindowDC&) = delete;
  CWindowDC& operator=(const CWindowDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HWND hwnd_;
  HDC dc_;
};

class CPaintDC {
 public:
  explicit CPaintDC(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {}
  ~CPaintDC() { EndPaint(hwnd_, &ps_); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;
  operator HDC() const { return dc_; }
  const PAINTSTRUCT& paint() const { return ps_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_ = {};
  HDC dc_;
};

// A memory DC compatible with another DC (or the screen).
class CMemDC {
 public:
  explicit CMemDC(HDC compatible = nullptr) : dc_(CreateCompatibleDC(compatible)) {}
  ~CMemDC() {
    if (dc_) DeleteDC(dc_);
  }
  CMemDC(const CMemDC&) = delete;
  CMemDC& operator=(const CMemDC&) = delete;
  operator HDC() const { return dc_; }

 private:
  HDC dc_;
};

// An owned icon (LoadImage/CreateIcon...), destroyed at destruction.
class CIcon {
 public:
  CIcon() = default;
  explicit CIcon(HICON icon) : icon_(icon) {}
  ~CIcon() { Reset(); }
  CIcon(CIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
  CIcon& operator=(CIcon&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.icon_, nullptr));
    return *this;
  }
  CIcon(const CIcon&) = delete;
  CIcon& operator=(const CIcon&) = delete;
  void Reset(HICON icon = nullptr) {
    if (icon_) DestroyIcon(icon_);
    icon_ = icon;
  }
  HICON Get() const { return icon_; }
  operator HICON() const { return icon_; }

 private:
  HICON icon_ = nullptr;
};

// Loads an icon resource of the program at a given size (null if missing).
inline HICON LoadIconResource(UINT id, int width, int height) {
  return static_cast<HICON>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR));
}

}  // namespace krx
