// The add-on's popup events: a window the page or the user asks for.
#include "helper_object.h"

#include "event_args.h"

namespace krx_addon {
namespace {

// The add-on's own words in the browser's status bar.
constexpr char kPopupBlockedText[] = "Kestrelix blocked a popup window: ";

// NewWindow3's flags (NWMF_UNLOADING, NWMF_USERINITED), which the headers
// offer only to builds for newer systems than ours.
constexpr long kNewWindowUnloading = 0x1;
constexpr long kNewWindowUserInitiated = 0x2;

}  // namespace

// Whether the browser's event interface has NewWindow3, from the browser's
// own type library. When that cannot be read, the browser is taken to be
// one that fires it (every one since 2004).
bool HelperObject::BrowserFiresNewWindow3(IWebBrowser2* browser) {
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

}  // namespace krx_addon
