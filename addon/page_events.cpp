// The add-on's page events: a page or frame finished loading, and the
// hotkeys that hide and show what it shows.
#include "helper_object.h"

#include <wininet.h>

#include <vector>

#include "core/addon_media_kind.h"
#include "core/item_text.h"
#include "event_args.h"
#include "page_dom.h"

namespace krx_addon {
namespace {

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

// The title of the page a window (the top one or a frame) shows.
std::string TitleOf(IWebBrowser2* window) {
  std::string title;
  BSTR name = nullptr;
  if (SUCCEEDED(window->get_LocationName(&name))) title = FromBstr(name);
  SysFreeString(name);
  return title;
}

}  // namespace

// DocumentComplete(pDisp, URL): the top window's page, or a frame's.
void HelperObject::OnDocumentComplete(const DISPPARAMS& p) {
  state_->Refresh(false);
  IDispatch* frame = DispatchArg(Arg(p, 0));
  const std::string url = StringArg(Arg(p, 1));
  if (url.empty()) return;
  // A forbidden page that a redirect reached was stopped at its
  // NavigateComplete2; a browser that completes it all the same (Wine's does,
  // before the page that takes its place) gets no line for it, and none for
  // that page of the add-on's own.
  if (krx::IsForbiddenNavigation(state_->options(), state_->forbidden(), url)) return;
  if (stopPagesDue_ > 0 && url == "about:blank") {
    --stopPagesDue_;
    return;
  }
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
    title = TitleOf(window);
    window->Release();
  }
  Record(krx::AddonDayFileKind::kVisit, url, title);
}

// The flash objects and media players of the page that frame (the top
// window or a frame) finished loading, each file once: a flash line with
// the page and the flash file as the cache holds it, a media line with the
// file's address and the page's title.
void HelperObject::RecordPageObjects(IDispatch* frame, const std::string& pageUrl, bool flash, bool media) {
  IWebBrowser2* window = nullptr;
  if (!frame || FAILED(frame->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&window))) || !window) return;
  IDispatch* document = nullptr;
  if (SUCCEEDED(window->get_Document(&document)) && document) {
    const std::string title = TitleOf(window);
    std::vector<std::string> seen;
    const unsigned kinds = (flash ? unsigned(kFindFlash) : 0u) | (media ? unsigned(kFindMedia) : 0u);
    ForEachMarkedElement(document, pageUrl, kinds, [&](IDispatch*, krx::PageElementKind kind, const std::string& file) {
      if (file.empty()) return;
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
    AddonState::Event event(*state_);
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
  SetHidden(document, CurrentAddress(), kind == krx::PageElementKind::kFlash ? kFindFlash : kFindGif, hidden);
  document->Release();
}

}  // namespace krx_addon
