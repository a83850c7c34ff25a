#include "core/manager_views.h"

namespace krx {

const std::array<ViewInfo, kViewCount> kViews = {{
    {IDC_TAB_VISIT, "Visit log", "Log of web pages visited", "::/visitlog.htm"},
    {IDC_TAB_BLOCK, "Block log", "Log of popups blocked", "::/blocklog.htm"},
    {IDC_TAB_FLASH, "Flash log", "Log of flash visited in IE", "::/flashlog.htm"},
    {IDC_TAB_MEDIA, "Media log", "Log of movies played in IE", "::/medialog.htm"},
    {IDC_TAB_WHITE, "White list", "Popups from these web pages will not be blocked", "::/whitelist.htm"},
    {IDC_TAB_FORBID, "Forbidden", "The list of addresses forbidden to visit", "::/forbidden.htm"},
    {IDC_TAB_CACHE, "IE cache", "Browse the cache of Internet Explorer", "::/cache.htm"},
}};

const ViewInfo* FindView(int viewId) {
  for (const ViewInfo& v : kViews) {
    if (v.id == viewId) return &v;
  }
  return nullptr;
}

}  // namespace krx
