// The add-on's navigation events: where the browser sets out to go.
#include "helper_object.h"

#include <exdispid.h>

#include "core/addon_media_kind.h"
#include "event_args.h"

namespace krx_addon {
namespace {

// The add-on's own words in the browser's status bar.
constexpr char kForbiddenText[] = "Kestrelix stopped a forbidden address: ";

}  // namespace

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

}  // namespace krx_addon
