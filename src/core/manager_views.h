#pragma once
// The manager window's seven views, its control ids and the command ids of
// its tray menu: fixed numbers, kept together so the window, its layout rule
// and its template agree.
#include <array>

namespace krx {

// A view's id is the command id of its button in the view selector. The ids
// are not in button order: the media log, fourth in the row, came last.
enum ViewId : int {
  IDC_TAB_VISIT = 179,
  IDC_TAB_BLOCK = 180,
  IDC_TAB_FLASH = 181,
  IDC_TAB_WHITE = 182,
  IDC_TAB_FORBID = 183,
  IDC_TAB_CACHE = 184,
  IDC_TAB_MEDIA = 185,
};
constexpr int kViewCount = 7;
constexpr int kFirstViewId = IDC_TAB_VISIT;
constexpr int kLastViewId = IDC_TAB_MEDIA;

struct ViewInfo {
  int id;
  const char* label;    // on its selector button
  const char* tooltip;  // of its selector button
  const char* helpPage; // topic in Kestrelix.chm
};

// In selector order, left to right.
extern const std::array<ViewInfo, kViewCount> kViews;

// The view's row of kViews, or nullptr for an id that is no view.
const ViewInfo* FindView(int viewId);
inline bool IsView(int id) { return id >= kFirstViewId && id <= kLastViewId; }
// The four logs listed day by day: visit, block, flash, media.
inline bool IsLogView(int id) {
  return id == IDC_TAB_VISIT || id == IDC_TAB_BLOCK || id == IDC_TAB_FLASH || id == IDC_TAB_MEDIA;
}
// The two lists listed whole: white list, forbidden list.
inline bool IsListView(int id) { return id == IDC_TAB_WHITE || id == IDC_TAB_FORBID; }

// Controls of the manager window (template 102 and those made at run time).
enum ManagerControlId : int {
  kIdClose = 2,  // IDCANCEL: the caption's Close button cancels
  kIdMinimize = 101,
  kIdHideMe = 102,
  kIdRadioAll = 500,
  kIdRadioHistory = 501,
  kIdRadioCookies = 502,
  kIdHelp = 1000,
  kIdAbout = 1001,
  kIdSendEmail = 1002,
  kIdOnlineUpdate = 1003,
  kIdWebSite = 1004,
  kIdConfig = 1006,
  kIdDateList = 1007,
  kIdItemList = 1008,
  kIdTopSeparator = 1009,
  kIdBottomSeparator = 1010,
  kIdStatusLine = 1011,
  kIdInputBox = 1012,
  kIdFind = 1013,
  kIdAddToWhite = 1014,
  kIdAddToForbidden = 1015,
  kIdDelete = 1016,
  kIdUpdateItem = 1017,
  kIdSaveFlash = 1018,
  kIdRefresh = 1019,
  kIdAddNewItem = 1020,
  kIdDeleteCacheFiles = 1021,
  kIdDetailsBox = 1022,
  kIdFetchCache = 1023,
  kIdCacheField = 1024,
  kIdCacheOperator = 1025,
  kIdCacheValue = 1026,
  kIdVisitPlay = 1027,
  kIdFlashPlayer = 65535,  // made at run time, like every window without an id
};

// The tray icon's callback message and the tray menu's commands.
constexpr unsigned WM_TRAYNOTIFY = 8101;
constexpr unsigned kTrayIconId = 631;
enum TrayCommandId : int {
  ID_TRAY_SHOW = 2210,
  ID_TRAY_UNUSED = 2211,  // in the range, does nothing
  ID_TRAY_ABOUT = 2212,
  ID_TRAY_HELP = 2213,
  ID_TRAY_EXIT = 2214,
  ID_TRAY_HIDE = 2215,
  ID_TRAY_CONFIG = 2216,
  ID_TRAY_WEBSITE = 2217,
  ID_TRAY_EMAIL = 2218,
  ID_TRAY_UPDATE = 2219,
};
constexpr int kFirstTrayCommand = ID_TRAY_SHOW;
constexpr int kLastTrayCommand = ID_TRAY_UPDATE;

}  // namespace krx
