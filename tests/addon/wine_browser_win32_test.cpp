// The add-on in Wine's own browser: the WebBrowser control, created in this
// process with a bare client site and sited with the add-on as a browser
// does, fetches from a loopback server of the test's own. With no HTML
// engine here, pages are served as a content type whose document class is
// the test's own, so that they complete and NavigateComplete2 and
// DocumentComplete fire from Wine's code, redirects included.
#include "support/loopback_http_win32.h"

#include <windows.h>
#include <exdisp.h>
#include <exdispid.h>
#include <ocidl.h>
#include <urlmon.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "addon/addon_host_fixture_win32.h"
#include "addon/test_browser_win32.h"
#include "core/settings_file.h"
#include "support/test_support.h"

namespace {

// {D601A2C7-98F6-4EBC-B25D-4ADA27B723B1}: the test's document class.
const CLSID kPageClass = {0xD601A2C7, 0x98F6, 0x4EBC, {0xB2, 0x5D, 0x4A, 0xDA, 0x27, 0xB7, 0x23, 0xB1}};
const char kPageType[] = "application/x-kestrelix-test";
const char kPageTypeKey[] = "SOFTWARE\\Classes\\MIME\\Database\\Content Type\\application/x-kestrelix-test";

// The loopback server's answer: "/redirect?<address>" is a 302 to that
// address, any other path a page of the test's content type.
std::string ServePage(const std::string& head) {
  const size_t at = head.find(' ') + 1;
  const std::string path = head.substr(at, head.find(' ', at) - at);
  if (path.rfind("/redirect?", 0) == 0) {
    return "HTTP/1.0 302 Found\r\nLocation: " + path.substr(10) + "\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
  }
  return std::string("HTTP/1.0 200 OK\r\nContent-Type: ") + kPageType +
         "\r\nContent-Length: 4\r\nConnection: close\r\n\r\npage";
}

// The least a COM object of the test needs: one reference count, the
// interfaces it names.
template <class... Interfaces>
class Unknown : public Interfaces... {
 public:
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(++refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = --refs_;
    if (left == 0) delete this;
    return ULONG(left);
  }
  virtual ~Unknown() = default;

 protected:
  HRESULT Answer(REFIID riid, void** out, std::initializer_list<std::pair<const IID*, void*>> offered) {
    *out = nullptr;
    for (const auto& o : offered) {
      if (IsEqualIID(riid, *o.first) || IsEqualIID(riid, IID_IUnknown)) *out = o.second;
      if (*out) break;
    }
    if (!*out) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }

 private:
  std::atomic<LONG> refs_{1};
};

// A page of the test's content type: loaded, it is complete at once (it has
// no ready state for the browser to wait on).
class Page final : public Unknown<IPersistMoniker> {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, {{&IID_IPersistMoniker, static_cast<IPersistMoniker*>(this)}});
  }
  STDMETHODIMP GetClassID(CLSID* id) override {
    *id = kPageClass;
    return S_OK;
  }
  STDMETHODIMP IsDirty() override { return S_FALSE; }
  STDMETHODIMP Load(BOOL, IMoniker*, LPBC, DWORD) override { return S_OK; }
  STDMETHODIMP Save(IMoniker*, LPBC, BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP SaveCompleted(IMoniker*, LPBC) override { return E_NOTIMPL; }
  STDMETHODIMP GetCurMoniker(IMoniker**) override { return E_NOTIMPL; }
};

class PageFactory final : public Unknown<IClassFactory> {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, {{&IID_IClassFactory, static_cast<IClassFactory*>(this)}});
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
    if (outer) return CLASS_E_NOAGGREGATION;
    Page* page = new Page;
    HRESULT hr = page->QueryInterface(riid, out);
    page->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
};

class ClientSite final : public Unknown<IOleClientSite> {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    return Answer(riid, out, {{&IID_IOleClientSite, static_cast<IOleClientSite*>(this)}});
  }
  STDMETHODIMP SaveObject() override { return E_NOTIMPL; }
  STDMETHODIMP GetMoniker(DWORD, DWORD, IMoniker**) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainer(IOleContainer**) override { return E_NOINTERFACE; }
  STDMETHODIMP ShowObject() override { return S_OK; }
  STDMETHODIMP OnShowWindow(BOOL) override { return S_OK; }
  STDMETHODIMP RequestNewObjectLayout() override { return E_NOTIMPL; }
};

// The browser's events as the test sees them beside the add-on:
// "BeforeNavigate2 <address>", "NavigateComplete2 ...", "DocumentComplete
// ...", "NavigateError ...".
class EventLog final : public Unknown<IDispatch> {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override {
    IDispatch* self = this;
    return Answer(riid, out, {{&IID_IDispatch, self}, {&DIID_DWebBrowserEvents2, self}});
  }
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*, UINT*) override {
    const char* name = id == DISPID_BEFORENAVIGATE2     ? "BeforeNavigate2"
                       : id == DISPID_NAVIGATECOMPLETE2 ? "NavigateComplete2"
                       : id == DISPID_DOCUMENTCOMPLETE  ? "DocumentComplete"
                       : id == DISPID_NAVIGATEERROR     ? "NavigateError"
                                                        : nullptr;
    if (!name || p->cArgs < 2) return S_OK;
    // The address is the second argument of each, last to first in rgvarg.
    const VARIANT* url = &p->rgvarg[p->cArgs - 2];
    while (url->vt == (VT_BYREF | VT_VARIANT)) url = url->pvarVal;
    events.push_back(std::string(name) + " " + (url->vt == VT_BSTR ? krx_test::FromBstr(url->bstrVal) : ""));
    return S_OK;
  }
  std::vector<std::string> events;
};

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Each address with the server's port for %d. Every page of localhost is
// forbidden, 127.0.0.1 is allowed.
struct Visit {
  const char* what;
  const char* start;     // the address the window is sent to
  const char* end;       // where a redirect takes it, "" for none
  bool visitLine;        // for the page at the end
  int enabled = 1;       // "Enable Kestrelix"
};

const Visit kVisits[] = {
    {"an allowed page", "http://127.0.0.1:%d/news.html", "", true},
    {"a forbidden page is never fetched", "http://localhost:%d/news.html", "", false},
    {"redirected to an allowed page", "http://127.0.0.1:%d/redirect?http://127.0.0.1:%d/today.html",
     "http://127.0.0.1:%d/today.html", true},
    {"redirected to a forbidden page", "http://127.0.0.1:%d/redirect?http://localhost:%d/landing.html",
     "http://localhost:%d/landing.html", false},
    {"Kestrelix switched off: a forbidden page opens, no line", "http://localhost:%d/news.html", "", false, 0},
};

std::string WithPort(const char* address, int port) {
  char text[200];
  std::snprintf(text, sizeof text, address, port, port);
  return text;
}

// The add-on registered from its program folder, as in the other host tests.
class AddonInWinesBrowser : public krx_test::AddonHost {};

TEST_F(AddonInWinesBrowser, ForbiddenListVisitLinesRedirectsAndSwitchingOff) {
  WriteList("forbid.log", {"localhost"});

  HKEY typeKey = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kPageTypeKey, 0, nullptr, 0, KEY_WRITE, nullptr, &typeKey, nullptr),
            ERROR_SUCCESS);
  const char clsid[] = "{D601A2C7-98F6-4EBC-B25D-4ADA27B723B1}";
  RegSetValueExA(typeKey, "CLSID", 0, REG_SZ, reinterpret_cast<const BYTE*>(clsid), sizeof clsid);
  RegCloseKey(typeKey);
  PageFactory* factory = new PageFactory;
  DWORD factoryCookie = 0;
  ASSERT_EQ(CoRegisterClassObject(kPageClass, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &factoryCookie), S_OK);

  // The add-on reads its lists off the window's thread: the table starts
  // once this process has them, so a forbidden row cannot race the first read.
  {
    IObjectWithSite* addon = CreateAddon();
    ASSERT_NE(addon, nullptr);
    auto* probe = new krx_test::TestBrowser("http://127.0.0.1/", "probe");
    ASSERT_EQ(addon->SetSite(probe->unknown()), S_OK);
    bool inEffect = false;
    for (DWORD began = GetTickCount(); !inEffect && GetTickCount() - began < 30000; Pump(50)) {
      inEffect = probe->FireBeforeNavigate2(probe->dispatch(), "http://localhost/");
    }
    ASSERT_TRUE(inEffect);
    addon->SetSite(nullptr);
    addon->Release();
    probe->Release();
  }

  krx_test::LoopbackHttpServer server(&ServePage);
  for (const Visit& v : kVisits) {
    SCOPED_TRACE(v.what);
    const std::string start = WithPort(v.start, int(server.port()));
    const std::string end = *v.end ? WithPort(v.end, int(server.port())) : start;
    const bool turnedAway = start.rfind("http://localhost", 0) == 0 && v.enabled;
    krx::SettingValues options = krx::kDefaultSettings;
    options[krx::kAddOnEnabled] = v.enabled;
    WriteOptions(options);

    // A new window: the control on its client site, the add-on sited on it.
    IOleObject* control = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_WebBrowser, nullptr, CLSCTX_INPROC_SERVER, IID_IOleObject,
                               reinterpret_cast<void**>(&control)),
              S_OK);
    ClientSite* site = new ClientSite;
    control->SetClientSite(site);
    IWebBrowser2* browser = nullptr;
    control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser));
    IObjectWithSite* addon = CreateAddon();
    ASSERT_NE(addon, nullptr);
    ASSERT_EQ(addon->SetSite(browser), S_OK);
    IConnectionPointContainer* container = nullptr;
    IConnectionPoint* point = nullptr;
    browser->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
    container->FindConnectionPoint(DIID_DWebBrowserEvents2, &point);
    container->Release();
    EventLog* log = new EventLog;
    DWORD cookie = 0;
    point->Advise(log, &cookie);

    const size_t requestsBefore = server.requests().size();
    VARIANT url, none;
    VariantInit(&none);
    url.vt = VT_BSTR;
    url.bstrVal = krx_test::AllocBstr(start);
    browser->Navigate2(&url, &none, &none, &none, &none);
    VariantClear(&url);
    // Until the address ends its journey (a window turned away at
    // BeforeNavigate2 goes nowhere: it is given a while).
    auto ended = [&] {
      for (const std::string& e : log->events) {
        if (e == "DocumentComplete " + end || e.rfind("NavigateError ", 0) == 0) return true;
      }
      return false;
    };
    for (DWORD began = GetTickCount(); !ended() && GetTickCount() - began < (turnedAway ? 1500 : 30000);) Pump(20);
    Pump(300);  // a navigation the add-on queued behind the page

    std::string events;
    for (const std::string& e : log->events) events += e + "\n";
    SCOPED_TRACE(events);
    const std::vector<std::string> requests = server.requests();
    bool fetchedForbidden = false;
    for (size_t i = requestsBefore; i < requests.size(); ++i) {
      fetchedForbidden |= requests[i].find("\r\nHost: localhost") != std::string::npos;
    }
    if (turnedAway) {
      EXPECT_FALSE(fetchedForbidden);
    }
    const std::string visits = krx_test::AllDayText(folder_.tmp(), "vis");
    krx_test::ClearDayFiles(folder_.tmp());
    EXPECT_EQ(visits.find(" " + end + " - ") != std::string::npos, v.visitLine) << visits;
    if (!v.visitLine) {
      EXPECT_EQ(visits, "");
    }
    // Wine's browser fires no BeforeNavigate2 for a redirect and has the
    // target fetched when it arrives: the add-on sends the window away then.
    const bool sentAway = events.find("BeforeNavigate2 about:blank") != std::string::npos;
    if (!v.enabled) {
      EXPECT_NE(events.find("DocumentComplete " + end), std::string::npos);
      EXPECT_FALSE(sentAway);
    } else if (events.find("NavigateComplete2 " + end) != std::string::npos && !v.visitLine) {
      EXPECT_TRUE(sentAway);
    }

    point->Unadvise(cookie);
    point->Release();
    log->Release();
    addon->SetSite(nullptr);
    addon->Release();
    browser->Release();
    control->Close(OLECLOSE_NOSAVE);
    control->SetClientSite(nullptr);
    control->Release();
    site->Release();
  }
  CoRevokeClassObject(factoryCookie);
  factory->Release();
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kPageTypeKey);
}

}  // namespace
