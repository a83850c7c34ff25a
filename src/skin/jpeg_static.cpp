#include "skin/jpeg_static.h"

#include <cstring>

#include "core/skin_geometry.h"
#include "framework/gdi.h"

namespace krx {

namespace {

// {7BF80980-BF32-101A-8BBB-00AA00300CAB}
const IID kIidPicture = {0x7BF80980, 0xBF32, 0x101A, {0x8B, 0xBB, 0x00, 0xAA, 0x00, 0x30, 0x0C, 0xAB}};

constexpr int kHimetricPerInch = 2540;

}  // namespace

CJpegStatic::~CJpegStatic() {
  DestroyWindow();
  Release();
}

void CJpegStatic::Release() {
  if (picture_) picture_->Release();
  picture_ = nullptr;
}

BOOL CJpegStatic::LoadImageResource(UINT id) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), "IMAGE");
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return FALSE;
  return LoadImageBytes(std::string(static_cast<const char*>(bytes), SizeofResource(module, found)));
}

BOOL CJpegStatic::LoadImageBytes(const std::string& bytes) {
  if (bytes.empty()) return FALSE;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
  if (!memory) return FALSE;
  void* target = GlobalLock(memory);
  std::memcpy(target, bytes.data(), bytes.size());
  GlobalUnlock(memory);
  IStream* stream = nullptr;
  if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {  // the stream frees the memory
    GlobalFree(memory);
    return FALSE;
  }
  IPicture* loaded = nullptr;
  HRESULT hr = OleLoadPicture(stream, LONG(bytes.size()), FALSE, kIidPicture, reinterpret_cast<void**>(&loaded));
  stream->Release();
  if (FAILED(hr) || !loaded) return FALSE;
  Release();
  picture_ = loaded;
  if (m_hWnd) Invalidate();
  return TRUE;
}

bool CJpegStatic::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT& result) {
  if (msg == WM_PAINT && picture_) {
    CPaintDC dc(m_hWnd);
    Paint(dc);
    result = 0;
    return true;
  }
  if (msg == WM_NCDESTROY) Release();
  return false;
}

void CJpegStatic::Paint(HDC dc) {
  OLE_XSIZE_HIMETRIC hmWidth = 0;
  OLE_YSIZE_HIMETRIC hmHeight = 0;
  picture_->get_Width(&hmWidth);
  picture_->get_Height(&hmHeight);
  const int cx = MulDiv(int(hmWidth), GetDeviceCaps(dc, LOGPIXELSX), kHimetricPerInch);
  const int cy = MulDiv(int(hmHeight), GetDeviceCaps(dc, LOGPIXELSY), kHimetricPerInch);
  RECT c = GetClientRect();
  PictureFit fit = FitPicture(cx, cy, {c.left, c.top, c.right, c.bottom});
  if (fit.width <= 0 || fit.height <= 0) return;
  picture_->Render(dc, fit.x, fit.y, fit.width, fit.height, 0, hmHeight, hmWidth, -hmHeight, nullptr);
}

}  // namespace krx
