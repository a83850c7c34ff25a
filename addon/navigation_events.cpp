// The add-on's navigation events: where the browser sets out to go.
#include "helper_object.h"

#include <exdispid.h>

#include "core/addon_media_kind.h"
#include "event_args.h"

namespace krx_addon {
namespace {

// The add-on's own words in the browser's status bar.
constexpr char kForbiddenText[] = "Kestrelix stopped a forbidden address: ";

// Where a window or frame goes in place of a forbidden page that a server's
// redirect reached.
constexpr wchar_t kStopPage[] = L"about:blank";

}  // namespace

// BeforeNavigate2(pDisp, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
void HelperObject::OnBeforeNavigate2(const DISPPARAMS& p) {
  VARIANT_BOOL* cancel = CancelArg(Arg(p, 6));
  state_->Refresh(false);
  const std::string url = StringArg(Arg(p, 1));
  if (url.empty()) return;
  // A page of the add-on's own that is cancelled here (by a handler before
  // this one, or by the list below) never completes: it is no longer due,
  // and a blank page the user opens later is a visit like any other.
  const bool stopPage = stopPagesDue_ > 0 && url == "about:blank";
  if (stopPage && cancel && *cancel != VARIANT_FALSE) {
    --stopPagesDue_;
    return;
  }
  const krx::SettingValues& opt = state_->options();
  if (krx::IsForbiddenNavigation(opt, state_->forbidden(), url)) {
    if (cancel) *cancel = VARIANT_TRUE;
    if (stopPage) --stopPagesDue_;
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

// NavigateComplete2(pDisp, URL): the address a window or frame arrived at,
// before its page is shown. A server's redirect fires no BeforeNavigate2, so
// a forbidden address reached that way is first seen here.
void HelperObject::OnNavigateComplete2(const DISPPARAMS& p) {
  state_->Refresh(false);
  const std::string url = StringArg(Arg(p, 1));
  const krx::SettingValues& opt = state_->options();
  if (url.empty() || !krx::IsForbiddenNavigation(opt, state_->forbidden(), url)) return;
  IDispatch* frame = DispatchArg(Arg(p, 0));
  IWebBrowser2* window = nullptr;
  if (!frame || FAILED(frame->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&window))) || !window) {
    window = browser_;
    window->AddRef();
  }
  window->Stop();
  // Stop alone may still let the page complete (Wine's does nothing at all):
  // a page of the add-on's own takes its place.
  VARIANT target, none[4];
  VariantInit(&target);
  for (VARIANT& v : none) VariantInit(&v);
  target.vt = VT_BSTR;
  target.bstrVal = SysAllocString(kStopPage);
  if (target.bstrVal && SUCCEEDED(window->Navigate2(&target, &none[0], &none[1], &none[2], &none[3]))) {
    ++stopPagesDue_;
  }
  VariantClear(&target);
  window->Release();
  if (On(opt, krx::kForbiddenStatusMessage)) ShowStatus(kForbiddenText + url);
}

}  // namespace krx_addon
