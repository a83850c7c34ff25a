#include "helper_object.h"

#include <exdispid.h>
#include <wininet.h>

#include <vector>

#include "address_text.h"
#include "com_module.h"
#include "core/addon_media_kind.h"
#include "core/item_text.h"
#include "day_file_append.h"
#include "page_dom.h"
#include "records/system_text.h"

namespace krx_addon {
namespace {

// The add-on's own words in the browser's status bar.
constexpr char kPopupBlockedText[] = "Kestrelix blocked a popup window: ";
constexpr char kForbiddenText[] = "Kestrelix stopped a forbidden address: ";

// NewWindow3's flags (NWMF_UNLOADING, NWMF_USERINITED), which the headers
// offer only to builds for newer systems than ours.
constexpr long kNewWindowUnloading = 0x1;
constexpr long kNewWindowUserInitiated = 0x2;

// Titles come as UTF-16; the day files are in the system code page.
std::string ToAnsi(const wchar_t* wide, int length) {
  if (!wide || length <= 0) return std::string();
  int n = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(size_t(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, &out[0], n, nullptr, nullptr);
  return out;
}

std::string FromBstr(BSTR s) { return s ? ToAnsi(s, int(SysStringLen(s))) : std::string(); }

// The events' arguments come last to first in rgvarg.
const VARIANT* Arg(const DISPPARAMS& p, UINT index) { return &p.rgvarg[p.cArgs - 1 - index]; }

// A VARIANT as the browser passes it: by value, or by reference to another
// VARIANT (BeforeNavigate2's URL), possibly twice.
const VARIANT* Deref(const VARIANT* v) {
  for (int i = 0; v && i < 3 && v->vt == (VT_BYREF | VT_VARIANT); ++i) v = v->pvarVal;
  return v;
}

// The string arguments the add-on reads are all addresses.
std::string StringArg(const VARIANT* v) {
  v = Deref(v);
  if (!v) return std::string();
  if (v->vt == VT_BSTR) return AddressText(v->bstrVal);
  if (v->vt == (VT_BYREF | VT_BSTR) && v->pbstrVal) return AddressText(*v->pbstrVal);
  return std::string();
}

long LongArg(const VARIANT* v) {
  v = Deref(v);
  if (!v) return 0;
  switch (v->vt) {
    case VT_I4: return v->lVal;
    case VT_UI4: return long(v->ulVal);
    case VT_INT: return v->intVal;
    case VT_UINT: return long(v->uintVal);
    case VT_BYREF | VT_I4: return v->plVal ? *v->plVal : 0;
    case VT_BYREF | VT_UI4: return v->pulVal ? long(*v->pulVal) : 0;
    default: return 0;
  }
}

VARIANT_BOOL* CancelArg(const VARIANT* v) {
  return (v && v->vt == (VT_BYREF | VT_BOOL)) ? v->pboolVal : nullptr;
}

IDispatch* DispatchArg(const VARIANT* v) {
  v = Deref(v);
  if (!v) return nullptr;
  if (v->vt == VT_DISPATCH) return v->pdispVal;
  if (v->vt == (VT_BYREF | VT_DISPATCH) && v->ppdispVal) return *v->ppdispVal;
  return nullptr;
}

bool On(const krx::SettingValues& opt, krx::Setting s) { return opt[s] != 0; }

// What a flash line names for the flash file at url: where the browser's
// cache keeps its copy, so that the manager can play and save the file
// itself, or the address when it is not cached. Only a web address gets a
// line: the manager must never be led to a path a page chose (a network
// share, a file: address). "" for no line.
std::string FlashFileOf(const std::string& url) {
  if (!krx::IsWebAddress(url)) return std::string();
  DWORD size = 0;
  GetUrlCacheEntryInfoA(url.c_str(), nullptr, &size);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0 || size > 64 * 1024) return url;
  std::vector<char> buffer(size);
  auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
  if (!GetUrlCacheEntryInfoA(url.c_str(), info, &size) || !info->lpszLocalFileName || !*info->lpszLocalFileName) {
    return url;
  }
  return info->lpszLocalFileName;
}

// Whether the browser's event interface has NewWindow3, from the browser's
// own type library. When that cannot be read, the browser is taken to be
// one that fires it (every one since 2004).
bool BrowserFiresNewWindow3(IWebBrowser2* browser) {
  ITypeInfo* info = nullptr;
  if (FAILED(browser->GetTypeInfo(0, LOCALE_USER_DEFAULT, &info)) || !info) return true;
  ITypeLib* lib = nullptr;
  UINT index = 0;
  HRESULT hr = info->GetContainingTypeLib(&lib, &index);
  info->Release();
  if (FAILED(hr) || !lib) return true;
  ITypeInfo* events = nullptr;
  hr = lib->GetTypeInfoOfGuid(DIID_DWebBrowserEvents2, &events);
  lib->Release();
  if (FAILED(hr) || !events) return true;
  wchar_t name[] = L"NewWindow3";
  LPOLESTR names[] = {name};
  MEMBERID id = 0;
  hr = events->GetIDsOfNames(names, 1, &id);
  events->Release();
  return SUCCEEDED(hr);
}

}  // namespace

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
    const DISPPARAMS& p = *params;
    switch (id) {
      case DISPID_BEFORENAVIGATE2:
        if (p.cArgs == 7) OnBeforeNavigate2(p);
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

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
void HelperObject::OnBeforeNavigate2(const DISPPARAMS& p) {
  VARIANT_BOOL* cancel = CancelArg(Arg(p, 6));
  state_->Refresh(false);
  const std::string url = StringArg(Arg(p, 1));
  if (url.empty()) return;
  const krx::SettingValues& opt = state_->options();
  if (krx::IsForbiddenNavigation(opt, state_->forbidden(), url)) {
    if (cancel) *cancel = VARIANT_TRUE;
    if (On(opt, krx::kForbiddenStatusMessage)) ShowStatus(kForbiddenText + url);
    return;
  }
  // A movie followed as a link goes to its player and may never complete
  // as a page: it is recorded when the browser sets out to open it, with
  // the title of the page it was opened from.
  if (On(opt, krx::kMediaLog) && krx::MediaKindOfAddress(url) == krx::AddonMediaKind::kMedia) {
    Record(krx::AddonDayFileKind::kMedia, url, CurrentTitle());
  }
}

// NewWindow2(ppDisp, Cancel): neither the address nor the user's click.
void HelperObject::OnNewWindow2(const DISPPARAMS& p) {
  if (firesNewWindow3_) return;  // NewWindow3 follows with everything
  state_->Refresh(false);
  DecidePopup(CancelArg(Arg(p, 1)), CurrentAddress(), std::string(), false, false);
}

// NewWindow3(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl)
void HelperObject::OnNewWindow3(const DISPPARAMS& p) {
  state_->Refresh(false);
  const long flags = LongArg(Arg(p, 2));
  std::string opener = StringArg(Arg(p, 3));
  if (opener.empty()) opener = CurrentAddress();
  DecidePopup(CancelArg(Arg(p, 1)), opener, StringArg(Arg(p, 4)), (flags & kNewWindowUserInitiated) != 0,
              (flags & kNewWindowUnloading) != 0);
}

void HelperObject::DecidePopup(VARIANT_BOOL* cancel, const std::string& opener, const std::string& popup,
                               bool userInitiated, bool unloading) {
  const krx::SettingValues& opt = state_->options();
  krx::PopupRequest request;
  request.openerUrl = opener;
  request.popupUrl = popup;
  request.modifierHeld = (GetKeyState(krx::PauseModifierVirtualKey(opt)) & 0x8000) != 0;
  request.userInitiated = userInitiated;
  request.duringUnload = unloading || quitting_;
  if (krx::MayOpenPopup(opt, state_->white(), request)) return;
  if (cancel) *cancel = VARIANT_TRUE;
  if (On(opt, krx::kBlockLog)) Record(krx::AddonDayFileKind::kBlock, popup, opener);
  if (On(opt, krx::kBlockStatusMessage)) ShowStatus(kPopupBlockedText + (popup.empty() ? opener : popup));
  if (On(opt, krx::kBlockSound)) MessageBeep(MB_OK);
}

// DocumentComplete(pDisp, URL): the top window's page, or a frame's.
void HelperObject::OnDocumentComplete(const DISPPARAMS& p) {
  state_->Refresh(false);
  IDispatch* frame = DispatchArg(Arg(p, 0));
  const std::string url = StringArg(Arg(p, 1));
  if (url.empty()) return;
  const bool top = IsTopWindow(frame);
  if (top) flashHidden_ = gifHidden_ = false;
  const bool flashLog = On(state_->options(), krx::kFlashLog), mediaLog = On(state_->options(), krx::kMediaLog);
  if (krx::MediaKindOfAddress(url) == krx::AddonMediaKind::kFlash) {
    // A flash file shown by the browser itself (followed as a link or
    // loaded into a frame): the page it is shown in, and the file as the
    // cache holds it.
    const std::string page = top ? url : CurrentAddress();
    const std::string file = flashLog ? FlashFileOf(url) : std::string();
    if (!file.empty()) Record(krx::AddonDayFileKind::kFlash, page.empty() ? url : page, file);
  } else if (flashLog || mediaLog) {
    RecordPageObjects(frame, url, flashLog, mediaLog);
  }
  // The browser does not tell a page's own navigations (a script's, a
  // refresh's) from the user's; every top-window page counts as the user's.
  if (!krx::ShouldLogVisit(state_->options(), top, false)) return;
  std::string title;
  IWebBrowser2* window = nullptr;
  if (frame && SUCCEEDED(frame->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&window))) && window) {
    BSTR name = nullptr;
    if (SUCCEEDED(window->get_LocationName(&name))) title = FromBstr(name);
    SysFreeString(name);
    window->Release();
  }
  Record(krx::AddonDayFileKind::kVisit, url, title);
}

void HelperObject::OnQuit() { quitting_ = true; }

// The flash objects and media players of the page that frame (the top
// window or a frame) finished loading, each file once: a flash line with
// the page and the flash file as the cache holds it, a media line with the
// file's address and the page's title.
void HelperObject::RecordPageObjects(IDispatch* frame, const std::string& pageUrl, bool flash, bool media) {
  IWebBrowser2* window = nullptr;
  if (!frame || FAILED(frame->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&window))) || !window) return;
  IDispatch* document = nullptr;
  if (SUCCEEDED(window->get_Document(&document)) && document) {
    std::string title;
    BSTR name = nullptr;
    if (SUCCEEDED(window->get_LocationName(&name))) title = FromBstr(name);
    SysFreeString(name);
    std::vector<std::string> seen;
    ForEachMarkedElement(document, pageUrl, [&](IDispatch*, krx::PageElementKind kind, const std::string& file) {
      const bool wanted =
          (kind == krx::PageElementKind::kFlash && flash) || (kind == krx::PageElementKind::kMedia && media);
      if (!wanted || file.empty()) return;
      for (const std::string& s : seen) {
        if (s == file) return;
      }
      seen.push_back(file);
      if (kind == krx::PageElementKind::kFlash) {
        const std::string copy = FlashFileOf(file);
        if (!copy.empty()) Record(krx::AddonDayFileKind::kFlash, pageUrl, copy);
      } else {
        Record(krx::AddonDayFileKind::kMedia, file, title);
      }
    });
    document->Release();
  }
  window->Release();
}

void HelperObject::OnKeyDown(int virtualKey) {
  try {
    if (!state_ || !browser_) return;
    state_->Refresh(false);
    const unsigned toggles = krx::AddonHotkeyToggles(state_->options(), virtualKey, GetKeyState(VK_CONTROL) < 0,
                                                     GetKeyState(VK_MENU) < 0);
    if (toggles & krx::kToggleFlash) {
      flashHidden_ = !flashHidden_;
      HideOrShow(krx::PageElementKind::kFlash, flashHidden_);
    }
    if (toggles & krx::kToggleGif) {
      gifHidden_ = !gifHidden_;
      HideOrShow(krx::PageElementKind::kGif, gifHidden_);
    }
  } catch (...) {
  }
}

// The top window's page only: frames keep what they show.
void HelperObject::HideOrShow(krx::PageElementKind kind, bool hidden) {
  IDispatch* document = nullptr;
  if (FAILED(browser_->get_Document(&document)) || !document) return;
  ForEachMarkedElement(document, CurrentAddress(), [&](IDispatch* element, krx::PageElementKind k, const std::string&) {
    if (k == kind) SetHidden(element, hidden);
  });
  document->Release();
}

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
  const std::string path = state_->tmpFolder() + krx::AddonDayFileName(kind, now.wYear, now.wMonth, now.wDay);
  const std::string line = krx::AddonDayLine(stamp, address, tail, krx::SystemLeadBytes());
  if (AppendDayLine(path, line)) return;
  // The manager makes tmp\ at its start; before it ever ran, the add-on
  // makes it itself, once, and tries again.
  if (GetFileAttributesA(state_->tmpFolder().c_str()) == INVALID_FILE_ATTRIBUTES &&
      CreateDirectoryA(state_->tmpFolder().c_str(), nullptr)) {
    AppendDayLine(path, line);
  }
}

}  // namespace krx_addon
