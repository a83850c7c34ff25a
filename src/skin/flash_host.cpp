#include "skin/flash_host.h"

#include "framework/ansi_text.h"

namespace krx {

namespace {

const char kHostClass[] = "KrxFlashHost";
constexpr DWORD kHostStyle = 0x50800000;  // WS_CHILD | WS_VISIBLE | WS_BORDER

}  // namespace

const CLSID NFlash::kClsid = {0xD27CDB6E, 0xAE6D, 0x11CF, {0x96, 0xB8, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

NFlash::~NFlash() {
  ReleaseControl();
  if (m_hWnd) DestroyWindow();
  if (oleStarted_) OleUninitialize();
}

BOOL NFlash::Create(HWND parent, const RECT& rect, UINT id, const std::string& moviePath) {
  if (!parent || m_hWnd) return FALSE;
  if (!oleStarted_) oleStarted_ = SUCCEEDED(OleInitialize(nullptr));
  if (!RegisterWndClass(kHostClass, 0, LoadCursor(nullptr, IDC_ARROW))) return FALSE;
  if (!CreateEx(0, kHostClass, "", kHostStyle, rect, parent, id)) return FALSE;
  site_.SetHost(m_hWnd);
  if (!CreateControl()) {
    DestroyWindow();
    return FALSE;
  }
  VARIANT playing;
  VariantInit(&playing);
  playing.vt = VT_BOOL;
  playing.boolVal = VARIANT_FALSE;
  PutProperty(kPlaying, playing);
  if (!moviePath.empty()) {
    LoadMovie(moviePath);
  } else {
    totalFrames_ = -1;
  }
  return TRUE;
}

bool NFlash::CreateControl() {
  IUnknown* unknown = nullptr;
  if (FAILED(CoCreateInstance(kClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                              reinterpret_cast<void**>(&unknown)))) {
    return false;
  }
  unknown->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&control_));
  unknown->QueryInterface(IID_IOleObject, reinterpret_cast<void**>(&object_));
  unknown->Release();
  if (!control_) {
    ReleaseControl();
    return false;
  }
  if (object_) {
    object_->SetClientSite(&site_);
    RECT client = GetClientRect();
    if (FAILED(object_->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, &site_, 0, m_hWnd, &client))) {
      ReleaseControl();
      return false;
    }
  }
  return true;
}

void NFlash::ReleaseControl() {
  if (object_) {
    object_->Close(OLECLOSE_NOSAVE);
    object_->SetClientSite(nullptr);
    object_->Release();
    object_ = nullptr;
  }
  if (control_) {
    control_->Release();
    control_ = nullptr;
  }
}

HRESULT NFlash::PutProperty(DISPID id, VARIANT& value) {
  if (!control_) return E_FAIL;
  DISPID named = DISPID_PROPERTYPUT;
  DISPPARAMS params = {&value, &named, 1, 1};
  return control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                          nullptr);
}

HRESULT NFlash::GetProperty(DISPID id, VARIANT& value) {
  if (!control_) return E_FAIL;
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  return control_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none, &value, nullptr,
                          nullptr);
}

void NFlash::LoadMovie(const std::string& path) {
  totalFrames_ = -1;
  if (!control_) return;
  VARIANT movie;
  VariantInit(&movie);
  movie.vt = VT_BSTR;
  movie.bstrVal = SysAllocString(AnsiToWide(path).c_str());
  PutProperty(kMovie, movie);
  VariantClear(&movie);

  VARIANT frames;
  VariantInit(&frames);
  if (SUCCEEDED(GetProperty(kTotalFrames, frames)) && SUCCEEDED(VariantChangeType(&frames, &frames, 0, VT_I4))) {
    totalFrames_ = frames.lVal;
  }
  VariantClear(&frames);
}

void NFlash::SetBackgroundColour(COLORREF colour) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_I4;
  value.lVal = LONG(colour);
  PutProperty(kBackgroundColor, value);
}

bool NFlash::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_RBUTTONUP) return true;
  if (msg->message == WM_COMMAND) Beep(1000, 10);
  return CWnd::PreTranslateMessage(msg);
}

bool NFlash::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
  if (msg == WM_SIZE && object_) {
    IOleInPlaceObject* inPlace = nullptr;
    if (SUCCEEDED(object_->QueryInterface(IID_IOleInPlaceObject, reinterpret_cast<void**>(&inPlace)))) {
      const RECT client = GetClientRect();
      inPlace->SetObjectRects(&client, &client);
      inPlace->Release();
    }
  } else if (msg == WM_DESTROY) {
    ReleaseControl();
  }
  return false;
}

}  // namespace krx
