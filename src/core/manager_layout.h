#pragma once
// Where the manager window puts each of its controls, and which it shows,
// for a view and a window size. The window only applies what this returns.
#include <array>

#include "core/pixel_geometry.h"

namespace krx {

// Every control the layout places, in the order the window applies them.
enum ManagerSlot : int {
  kSlotCaptionText,
  kSlotClose,
  kSlotHideMe,
  kSlotMinimize,
  kSlotViewSelector,
  kSlotTopSeparator,
  kSlotDateList,
  kSlotItemList,
  kSlotFlashPlayer,
  kSlotFetchCache,
  kSlotRadioAll,
  kSlotRadioHistory,
  kSlotRadioCookies,
  kSlotCacheField,
  kSlotCacheOperator,
  kSlotCacheValue,
  kSlotDetailsBox,
  kSlotVisitPlay,
  kSlotRefresh,
  kSlotSaveFlash,
  kSlotDeleteCacheFiles,
  kSlotAddToForbidden,
  kSlotAddToWhite,
  kSlotDelete,
  kSlotUpdateItem,
  kSlotAddNewItem,
  kSlotFind,
  kSlotInputBox,
  kSlotBottomSeparator,
  kSlotStatusLine,
  kSlotHelp,
  kSlotAbout,
  kSlotSendEmail,
  kSlotOnlineUpdate,
  kSlotWebSite,
  kSlotConfig,
  kSlotQuickFilter,
  kSlotCount
};

struct ControlPlace {
  int id = 0;           // the control's id (ManagerControlId); 0 for the caption text and the selector
  bool placed = false;  // rect holds where it goes; otherwise it stays where it is
  bool shown = false;
  PixelRect rect;       // in its parent's client coordinates (the caption text: the caption strip's)
};

using ManagerLayout = std::array<ControlPlace, kSlotCount>;

// The date list's width plus its gap: how far a log view's main area starts
// further right.
constexpr int kDateListOffset = 98;
// The window's tracking limits.
constexpr int kMinTrackWidth = 590, kMinTrackHeight = 415;
constexpr int kMaxTrackWidth = 1024, kMaxTrackHeight = 768;

// The quick filter's row, when it is shown: between the toolbar row and the
// item list, which gives up this much of its height (field and gap).
constexpr int kQuickFilterRow = 24;

// view: a view id; width, height: the window's outer size; clientWidth: the
// width of its client area (the caption controls follow it); quickFilter:
// the quick filter is shown (only views that have one show it).
ManagerLayout LayoutManager(int view, int width, int height, int clientWidth, bool quickFilter = false);

}  // namespace krx
