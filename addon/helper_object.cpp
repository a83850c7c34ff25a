#include "helper_object.h"

#include <exdispid.h>

#include "address_text.h"
#include "com_module.h"
#include "day_folders.h"
#include "event_args.h"
#include "records/system_text.h"

namespace krx_addon {

HelperObject::HelperObject() { ObjectCreated(); }

HelperObject::~HelperObject() {
  Disconnect();
  ObjectDestroyed();
}

STDMETHODIMP HelperObject::QueryInterface(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IObjectWithSite)) {
    *out = static_cast<IObjectWithSite*>(this);
  } else if (IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, DIID_DWebBrowserEvents2)) {
    *out = static_cast<IDispatch*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) HelperObject::AddRef() { return ULONG(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) HelperObject::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return ULONG(left);
}

STDMETHODIMP HelperObject::SetSite(IUnknown* site) {
  try {
    Disconnect();
    if (site) Connect(site);
  } catch (...) {
    Disconnect();
  }
  return S_OK;
}

STDMETHODIMP HelperObject::GetSite(REFIID riid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (!site_) return E_FAIL;
  return site_->QueryInterface(riid, out);
}

void HelperObject::Connect(IUnknown* site) {
  site_ = site;
  site_->AddRef();
  // Without its own folder (a path too long to learn) every file name would
  // be relative to the browser's current folder: the add-on then does nothing.
  const std::string folder = ProgramFolder();
  if (folder.empty()) return;
  // Only a browser window concerns us; any other host gets a quiet object.
  if (FAILED(site->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser_)))) {
    browser_ = nullptr;
    return;
  }
  state_.reset(new AddonState(folder));
  state_->Refresh(true);
  firesNewWindow3_ = BrowserFiresNewWindow3(browser_);
  IConnectionPointContainer* container = nullptr;
  if (FAILED(browser_->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)))) return;
  HRESULT hr = container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point_);
  container->Release();
  if (FAILED(hr) || !point_) {
    point_ = nullptr;
    return;
  }
  if (FAILED(point_->Advise(static_cast<IDispatch*>(this), &cookie_))) {
    point_->Release();
    point_ = nullptr;
    cookie_ = 0;
    return;
  }
  watchingKeys_ = WatchKeys(this);
}

void HelperObject::Disconnect() {
  if (watchingKeys_) UnwatchKeys(this);
  watchingKeys_ = false;
  flashHidden_ = gifHidden_ = false;
  stopPagesDue_ = 0;
  if (point_) {
    if (cookie_) point_->Unadvise(cookie_);
    point_->Release();
    point_ = nullptr;
  }
  cookie_ = 0;
  if (browser_) {
    browser_->Release();
    browser_ = nullptr;
  }
  if (site_) {
    site_->Release();
    site_ = nullptr;
  }
  state_.reset();
  quitting_ = false;
  // Lines kept for a file another writer held are written before the
  // window goes, as the process may go with it.
  if (KeptDayLines()) WriteKeptDayLines();
}

STDMETHODIMP HelperObject::GetTypeInfoCount(UINT* count) {
  if (count) *count = 0;
  return S_OK;
}
STDMETHODIMP HelperObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return E_NOTIMPL;
}
STDMETHODIMP HelperObject::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }

STDMETHODIMP HelperObject::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) {
  // Whatever happens here stays here: the browser sees S_OK, at worst an
  // event the add-on did not act on.
  try {
    if (!params || !state_ || (params->cArgs && !params->rgvarg)) return S_OK;
    AddonState::Event event(*state_);
    const DISPPARAMS& p = *params;
    switch (id) {
      case DISPID_BEFORENAVIGATE2:
        if (p.cArgs == 7) OnBeforeNavigate2(p);
        break;
      case DISPID_NAVIGATECOMPLETE2:
        if (p.cArgs == 2) OnNavigateComplete2(p);
        break;
      case DISPID_NEWWINDOW2:
        if (p.cArgs == 2) OnNewWindow2(p);
        break;
      case DISPID_NEWWINDOW3:
        if (p.cArgs == 5) OnNewWindow3(p);
        break;
      case DISPID_DOCUMENTCOMPLETE:
        if (p.cArgs == 2) OnDocumentComplete(p);
        break;
      case DISPID_ONQUIT:
        OnQuit();
        break;
      default:
        break;
    }
  } catch (...) {
  }
  return S_OK;
}

void HelperObject::OnQuit() { quitting_ = true; }

bool HelperObject::IsTopWindow(IDispatch* frame) const {
  if (!frame || !browser_) return false;
  // COM identity: the same object gives the same IUnknown.
  IUnknown* a = nullptr;
  IUnknown* b = nullptr;
  bool same = false;
  if (SUCCEEDED(frame->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a))) &&
      SUCCEEDED(browser_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b)))) {
    same = a == b;
  }
  if (a) a->Release();
  if (b) b->Release();
  return same;
}

std::string HelperObject::CurrentAddress() const {
  if (!browser_) return std::string();
  BSTR url = nullptr;
  std::string out;
  if (SUCCEEDED(browser_->get_LocationURL(&url))) out = AddressText(url);
  SysFreeString(url);
  return out;
}

std::string HelperObject::CurrentTitle() const {
  if (!browser_) return std::string();
  BSTR title = nullptr;
  std::string out;
  if (SUCCEEDED(browser_->get_LocationName(&title))) out = FromBstr(title);
  SysFreeString(title);
  return out;
}

void HelperObject::ShowStatus(const std::string& text) {
  if (!browser_) return;
  int n = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
  BSTR wide = SysAllocStringLen(nullptr, UINT(n > 0 ? n : 0));
  if (!wide) return;
  if (n > 0) MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide, n);
  browser_->put_StatusText(wide);
  SysFreeString(wide);
}

void HelperObject::Record(krx::AddonDayFileKind kind, const std::string& address, const std::string& tail) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  const krx::LocalStamp stamp{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
  const std::string name = krx::AddonDayFileName(kind, now.wYear, now.wMonth, now.wDay);
  WriteDayLine(state_->tmpFolder(), name, krx::AddonDayLine(stamp, address, tail, krx::SystemLeadBytes()));
}

}  // namespace krx_addon
