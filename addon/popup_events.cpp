// The add-on's popup events: a window the page or the user asks for.
#include "helper_object.h"

#include "event_args.h"

namespace krx_addon {
namespace {

// The add-on's own words in the browser's status bar.
constexpr char kPopupBlockedText[] = "Kestrelix blocked a popup window: ";

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
  DecidePopup(CancelArg(Arg(p, 1)), CurrentAddress(), std::string(), 0);
}

// NewWindow3(ppDisp, Cancel, dwFlags, bstrUrlContext, bstrUrl)
void HelperObject::OnNewWindow3(const DISPPARAMS& p) {
  state_->Refresh(false);
  const long flags = LongArg(Arg(p, 2));
  std::string opener = StringArg(Arg(p, 3));
  if (opener.empty()) opener = CurrentAddress();
  DecidePopup(CancelArg(Arg(p, 1)), opener, StringArg(Arg(p, 4)), flags);
}

void HelperObject::DecidePopup(VARIANT_BOOL* cancel, const std::string& opener, const std::string& popup,
                               long flags) {
  const krx::SettingValues& opt = state_->options();
  krx::PopupRequest request;
  request.openerUrl = opener;
  request.popupUrl = popup;
  request.modifierHeld = (GetKeyState(krx::PauseModifierVirtualKey(opt)) & 0x8000) != 0;
  request.flags = flags;
  request.browserQuitting = quitting_;
  if (krx::MayOpenPopup(opt, state_->white(), request)) return;
  if (cancel) *cancel = VARIANT_TRUE;
  // The line's address is the opener: the page that "Add to White list"
  // then lets open its popups. The popup's address follows.
  if (On(opt, krx::kBlockLog)) Record(krx::AddonDayFileKind::kBlock, opener, popup);
  if (On(opt, krx::kBlockStatusMessage)) ShowStatus(kPopupBlockedText + (popup.empty() ? opener : popup));
  if (On(opt, krx::kBlockSound)) MessageBeep(MB_OK);
}

}  // namespace krx_addon
