#pragma once
// A browser window of the test's own, for siting the add-on on: an
// IWebBrowser2 with the DWebBrowserEvents2 connection point, which fires the
// events with the arguments Internet Explorer passes and records what the
// add-on writes into its status bar. It renders nothing: that part of a
// browser does not exist here.
#include <windows.h>
#include <ocidl.h>

#include <string>
#include <utility>
#include <vector>

#include "addon/web_browser_unimplemented_win32.h"

namespace krx_test {

class TestBrowser final : public WebBrowserUnimplemented, public IConnectionPointContainer, public IConnectionPoint {
 public:
  TestBrowser(std::string url, std::string title) : url_(std::move(url)), title_(std::move(title)) {}
  TestBrowser(const TestBrowser&) = delete;
  TestBrowser& operator=(const TestBrowser&) = delete;

  IDispatch* dispatch() { return static_cast<IWebBrowser2*>(this); }
  IUnknown* unknown() { return static_cast<IWebBrowser2*>(this); }
  LONG references() const { return refs_; }
  size_t sinkCount() const;
  const std::vector<std::string>& statusTexts() const { return status_; }
  // What the add-on asked of the window: "Stop", "Navigate2 <address>".
  const std::vector<std::string>& calls() const { return calls_; }
  // The browser's type information, from which the add-on learns whether
  // NewWindow3 comes; none (E_NOTIMPL) until set.
  void SetTypeInfo(ITypeInfo* info);
  // The page shown: a document object the browser keeps a reference to.
  void SetDocument(IDispatch* document);
  void SetLocation(std::string url, std::string title) {
    url_ = std::move(url);
    title_ = std::move(title);
  }

  // The events, argument for argument as the browser passes them (last
  // argument first in rgvarg, Cancel by reference). Each returns the Cancel
  // the sinks left.
  // cancelled: another handler of the event cancelled it before the add-on.
  bool FireBeforeNavigate2(IDispatch* frame, const std::string& url, bool cancelled = false);
  bool FireNewWindow2();
  bool FireNewWindow3(long flags, const std::string& opener, const std::string& url);
  void FireNavigateComplete2(IDispatch* frame, const std::string& url);
  void FireDocumentComplete(IDispatch* frame, const std::string& url);
  void FireQuit();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch
  STDMETHODIMP GetTypeInfoCount(UINT* n) override {
    *n = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  // What the add-on asks of the browser.
  STDMETHODIMP get_Document(IDispatch** document) override;
  STDMETHODIMP get_LocationURL(BSTR* url) override;
  STDMETHODIMP get_LocationName(BSTR* name) override;
  STDMETHODIMP put_StatusText(BSTR text) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT*) override;
  STDMETHODIMP get_StatusText(BSTR* text) override;
  // IConnectionPointContainer
  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** out) override;
  // IConnectionPoint
  STDMETHODIMP GetConnectionInterface(IID* iid) override;
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** out) override;
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override;
  STDMETHODIMP Unadvise(DWORD cookie) override;
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

 private:
  ~TestBrowser();
  void Fire(DISPID id, VARIANT* args, UINT count);
  void FireFrameEvent(DISPID id, IDispatch* frame, const std::string& url);

  LONG refs_ = 1;
  std::string url_, title_;
  IDispatch* document_ = nullptr;
  std::vector<std::string> status_, calls_;
  ITypeInfo* typeInfo_ = nullptr;
  std::vector<std::pair<DWORD, IDispatch*>> sinks_;
  DWORD nextCookie_ = 1;
};

// The browser's event interface as a type library of its own describes it:
// with NewWindow3 (every browser since 2004) or without (older ones).
ITypeInfo* NewBrowserEventsTypeInfo(bool withNewWindow3);

// A wide BSTR of UTF-8 text, and back: the tests give the browser's
// addresses in any script.
BSTR AllocBstr(const std::string& text);
std::string FromBstr(BSTR text);

}  // namespace krx_test
