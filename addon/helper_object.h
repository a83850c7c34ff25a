#pragma once
// The add-on in one browser window: sited by the browser (IObjectWithSite),
// it listens to the window's events (DWebBrowserEvents2, an IDispatch sink
// advised on the browser's connection point) and lets go of everything when
// the browser takes the site away.
#include <windows.h>
#include <ocidl.h>
#include <exdisp.h>

#include <memory>
#include <string>

#include "addon_state.h"
#include "core/addon_page_elements.h"
#include "core/addon_rules.h"
#include "keyboard_hook.h"

namespace krx_addon {

class HelperObject final : public IObjectWithSite, public IDispatch, public KeyListener {
 public:
  HelperObject();
  HelperObject(const HelperObject&) = delete;
  HelperObject& operator=(const HelperObject&) = delete;

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IObjectWithSite
  STDMETHODIMP SetSite(IUnknown* site) override;
  STDMETHODIMP GetSite(REFIID riid, void** out) override;
  // IDispatch: only Invoke matters; the browser calls it by DISPID.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                      UINT*) override;
  // KeyListener: CTRL with the flash or the GIF key.
  void OnKeyDown(int virtualKey) override;

 private:
  ~HelperObject();
  void Connect(IUnknown* site);
  void Disconnect();

  void OnBeforeNavigate2(const DISPPARAMS& p);
  void OnNavigateComplete2(const DISPPARAMS& p);
  void OnNewWindow2(const DISPPARAMS& p);
  void OnNewWindow3(const DISPPARAMS& p);
  void OnDocumentComplete(const DISPPARAMS& p);
  void OnQuit();

  // A popup the browser asked to open, with NewWindow3's flags (0 when the
  // browser does not say); *cancel is set when it is blocked.
  void DecidePopup(VARIANT_BOOL* cancel, const std::string& opener, const std::string& popup, long flags);
  static bool BrowserFiresNewWindow3(IWebBrowser2* browser);
  bool IsTopWindow(IDispatch* frame) const;
  void RecordPageObjects(IDispatch* frame, const std::string& pageUrl, bool flash, bool media);
  void HideOrShow(krx::PageElementKind kind, bool hidden);
  std::string CurrentAddress() const;
  std::string CurrentTitle() const;
  void ShowStatus(const std::string& text);
  void Record(krx::AddonDayFileKind kind, const std::string& address, const std::string& tail);

  LONG refs_ = 1;
  IUnknown* site_ = nullptr;
  IWebBrowser2* browser_ = nullptr;
  IConnectionPoint* point_ = nullptr;
  DWORD cookie_ = 0;
  // The browser tells the popup's address and the user's click only from
  // the event it added later (NewWindow3, sent right after NewWindow2); a
  // browser without it gets its popups decided at NewWindow2.
  bool firesNewWindow3_ = true;
  // Set when the browser quits: popups from here on open while it closes.
  bool quitting_ = false;
  bool watchingKeys_ = false;
  // What the hotkeys did to the page on show; a new page starts shown.
  bool flashHidden_ = false;
  bool gifHidden_ = false;
  // Pages of the add-on's own sent in place of forbidden pages and not yet
  // completed: they get no visit line.
  int stopPagesDue_ = 0;
  std::unique_ptr<AddonState> state_;
};

}  // namespace krx_addon
