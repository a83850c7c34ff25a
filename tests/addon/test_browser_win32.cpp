#include "addon/test_browser_win32.h"

#include <exdispid.h>
#include <olectl.h>

namespace krx_test {

BSTR AllocBstr(const std::string& text) {
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
  BSTR out = SysAllocStringLen(nullptr, UINT(n > 0 ? n : 0));
  if (out && n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), out, n);
  return out;
}

std::string FromBstr(BSTR text) {
  if (!text) return std::string();
  const int length = int(SysStringLen(text));
  int n = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, text, length, &out[0], n, nullptr, nullptr);
  return out;
}

ITypeInfo* NewBrowserEventsTypeInfo(bool withNewWindow3) {
  ICreateTypeLib2* lib = nullptr;
  if (FAILED(CreateTypeLib2(SYS_WIN32, L"browser_events.tlb", &lib))) return nullptr;
  ICreateTypeInfo* events = nullptr;
  ITypeInfo* info = nullptr;
  if (SUCCEEDED(lib->CreateTypeInfo(const_cast<LPOLESTR>(L"DWebBrowserEvents2"), TKIND_DISPATCH, &events))) {
    events->SetGuid(DIID_DWebBrowserEvents2);
    const struct {
      const wchar_t* name;
      MEMBERID id;
    } members[] = {{L"NewWindow2", DISPID_NEWWINDOW2}, {L"NewWindow3", DISPID_NEWWINDOW3}};
    UINT index = 0;
    for (const auto& m : members) {
      if (m.id == DISPID_NEWWINDOW3 && !withNewWindow3) continue;
      FUNCDESC f = {};
      f.memid = m.id;
      f.funckind = FUNC_DISPATCH;
      f.invkind = INVOKE_FUNC;
      f.callconv = CC_STDCALL;
      f.elemdescFunc.tdesc.vt = VT_VOID;
      LPOLESTR name = const_cast<LPOLESTR>(m.name);
      events->AddFuncDesc(index, &f);
      events->SetFuncAndParamNames(index++, &name, 1);
    }
    events->LayOut();
    events->QueryInterface(IID_ITypeInfo, reinterpret_cast<void**>(&info));
    events->Release();
  }
  lib->Release();
  return info;
}

TestBrowser::~TestBrowser() {
  if (typeInfo_) typeInfo_->Release();
  if (document_) document_->Release();
  for (auto& sink : sinks_) sink.second->Release();
}

size_t TestBrowser::sinkCount() const { return sinks_.size(); }

STDMETHODIMP TestBrowser::QueryInterface(REFIID riid, void** out) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, IID_IWebBrowser) ||
      IsEqualIID(riid, IID_IWebBrowserApp) || IsEqualIID(riid, IID_IWebBrowser2)) {
    *out = static_cast<IWebBrowser2*>(this);
  } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TestBrowser::Release() {
  LONG left = InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return ULONG(left);
}

void TestBrowser::SetTypeInfo(ITypeInfo* info) {
  if (info) info->AddRef();
  if (typeInfo_) typeInfo_->Release();
  typeInfo_ = info;
}

STDMETHODIMP TestBrowser::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  *info = typeInfo_;
  if (!typeInfo_) return E_NOTIMPL;
  typeInfo_->AddRef();
  return S_OK;
}

void TestBrowser::SetDocument(IDispatch* document) {
  if (document) document->AddRef();
  if (document_) document_->Release();
  document_ = document;
}

// No page yet (or one the HTML engine does not show): no document.
STDMETHODIMP TestBrowser::get_Document(IDispatch** document) {
  *document = document_;
  if (!document_) return E_FAIL;
  document_->AddRef();
  return S_OK;
}

STDMETHODIMP TestBrowser::get_LocationURL(BSTR* url) {
  *url = AllocBstr(url_);
  return S_OK;
}
STDMETHODIMP TestBrowser::get_LocationName(BSTR* name) {
  *name = AllocBstr(title_);
  return S_OK;
}
STDMETHODIMP TestBrowser::put_StatusText(BSTR text) {
  status_.push_back(FromBstr(text));
  return S_OK;
}
STDMETHODIMP TestBrowser::Stop() {
  calls_.push_back("Stop");
  return S_OK;
}
STDMETHODIMP TestBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) {
  calls_.push_back("Navigate2 " + (url && url->vt == VT_BSTR ? FromBstr(url->bstrVal) : std::string("?")));
  return S_OK;
}
STDMETHODIMP TestBrowser::get_StatusText(BSTR* text) {
  *text = AllocBstr(status_.empty() ? std::string() : status_.back());
  return S_OK;
}

STDMETHODIMP TestBrowser::FindConnectionPoint(REFIID riid, IConnectionPoint** out) {
  if (!IsEqualIID(riid, DIID_DWebBrowserEvents2)) {
    *out = nullptr;
    return CONNECT_E_NOCONNECTION;
  }
  *out = static_cast<IConnectionPoint*>(this);
  AddRef();
  return S_OK;
}
STDMETHODIMP TestBrowser::GetConnectionInterface(IID* iid) {
  *iid = DIID_DWebBrowserEvents2;
  return S_OK;
}
STDMETHODIMP TestBrowser::GetConnectionPointContainer(IConnectionPointContainer** out) {
  *out = static_cast<IConnectionPointContainer*>(this);
  AddRef();
  return S_OK;
}
STDMETHODIMP TestBrowser::Advise(IUnknown* sink, DWORD* cookie) {
  IDispatch* events = nullptr;
  if (FAILED(sink->QueryInterface(DIID_DWebBrowserEvents2, reinterpret_cast<void**>(&events)))) {
    return CONNECT_E_CANNOTCONNECT;
  }
  *cookie = nextCookie_++;
  sinks_.emplace_back(*cookie, events);
  return S_OK;
}
STDMETHODIMP TestBrowser::Unadvise(DWORD cookie) {
  for (auto it = sinks_.begin(); it != sinks_.end(); ++it) {
    if (it->first == cookie) {
      IDispatch* sink = it->second;
      sinks_.erase(it);
      sink->Release();
      return S_OK;
    }
  }
  return CONNECT_E_NOCONNECTION;
}

void TestBrowser::Fire(DISPID id, VARIANT* args, UINT count) {
  DISPPARAMS params = {args, nullptr, count, 0};
  // A sink may unadvise itself while handling the event.
  std::vector<IDispatch*> sinks;
  for (auto& s : sinks_) {
    s.second->AddRef();
    sinks.push_back(s.second);
  }
  for (IDispatch* sink : sinks) {
    sink->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr);
    sink->Release();
  }
}

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel):
// every argument but pDisp and Cancel is a VARIANT by reference.
bool TestBrowser::FireBeforeNavigate2(IDispatch* frame, const std::string& url, bool cancelled) {
  VARIANT urlValue, flags, target, post, headers;
  VariantInit(&urlValue);
  urlValue.vt = VT_BSTR;
  urlValue.bstrVal = AllocBstr(url);
  VariantInit(&flags);
  flags.vt = VT_I4;
  flags.lVal = 0;
  VariantInit(&target);
  target.vt = VT_BSTR;
  target.bstrVal = nullptr;
  VariantInit(&post);
  VariantInit(&headers);
  headers.vt = VT_BSTR;
  headers.bstrVal = nullptr;
  VARIANT_BOOL cancel = cancelled ? VARIANT_TRUE : VARIANT_FALSE;
  VARIANT args[7];
  VARIANT* byRef[] = {&headers, &post, &target, &flags, &urlValue};
  args[0].vt = VT_BOOL | VT_BYREF;
  args[0].pboolVal = &cancel;
  for (int i = 0; i < 5; ++i) {
    args[1 + i].vt = VT_VARIANT | VT_BYREF;
    args[1 + i].pvarVal = byRef[i];
  }
  args[6].vt = VT_DISPATCH;
  args[6].pdispVal = frame;
  Fire(DISPID_BEFORENAVIGATE2, args, 7);
  VariantClear(&urlValue);
  return cancel != VARIANT_FALSE;
}

// NewWindow2(ppDisp, Cancel)
bool TestBrowser::FireNewWindow2() {
  IDispatch* newWindow = nullptr;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[2];
  args[0].vt = VT_BOOL | VT_BYREF;
  args[0].pboolVal = &cancel;
  args[1].vt = VT_DISPATCH | VT_BYREF;
  args[1].ppdispVal = &newWindow;
  Fire(DISPID_NEWWINDOW2, args, 2);
  return cancel != VARIANT_FALSE;
}

// NewWindow3(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl)
bool TestBrowser::FireNewWindow3(long flags, const std::string& opener, const std::string& url) {
  IDispatch* newWindow = nullptr;
  VARIANT_BOOL cancel = VARIANT_FALSE;
  VARIANT args[5];
  args[0].vt = VT_BSTR;
  args[0].bstrVal = AllocBstr(url);
  args[1].vt = VT_BSTR;
  args[1].bstrVal = AllocBstr(opener);
  args[2].vt = VT_I4;
  args[2].lVal = flags;
  args[3].vt = VT_BOOL | VT_BYREF;
  args[3].pboolVal = &cancel;
  args[4].vt = VT_DISPATCH | VT_BYREF;
  args[4].ppdispVal = &newWindow;
  Fire(DISPID_NEWWINDOW3, args, 5);
  SysFreeString(args[0].bstrVal);
  SysFreeString(args[1].bstrVal);
  return cancel != VARIANT_FALSE;
}

// NavigateComplete2(pDisp, URL) and DocumentComplete(pDisp, URL) carry the
// same arguments.
void TestBrowser::FireNavigateComplete2(IDispatch* frame, const std::string& url) {
  FireFrameEvent(DISPID_NAVIGATECOMPLETE2, frame, url);
}
void TestBrowser::FireDocumentComplete(IDispatch* frame, const std::string& url) {
  FireFrameEvent(DISPID_DOCUMENTCOMPLETE, frame, url);
}
void TestBrowser::FireFrameEvent(DISPID id, IDispatch* frame, const std::string& url) {
  VARIANT urlValue;
  VariantInit(&urlValue);
  urlValue.vt = VT_BSTR;
  urlValue.bstrVal = AllocBstr(url);
  VARIANT args[2];
  args[0].vt = VT_VARIANT | VT_BYREF;
  args[0].pvarVal = &urlValue;
  args[1].vt = VT_DISPATCH;
  args[1].pdispVal = frame;
  Fire(id, args, 2);
  VariantClear(&urlValue);
}

void TestBrowser::FireQuit() { Fire(DISPID_ONQUIT, nullptr, 0); }

}  // namespace krx_test
