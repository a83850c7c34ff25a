#include "core/manager_layout.h"

#include "core/manager_views.h"
#include "core/quick_filter.h"

namespace krx {

namespace {

constexpr int kToolbarTop = 59;
constexpr int kToolbarButton = 24;
constexpr int kToolbarPitch = 26;
constexpr int kBottomButton = 26;

PixelRect At(int x, int y, int w, int h) { return PixelRect{x, y, x + w, y + h}; }

void Place(ManagerLayout& layout, ManagerSlot slot, int id, bool shown, const PixelRect& rect) {
  layout[slot] = ControlPlace{id, true, shown, rect};
}

// Hidden where it is: a control that the view does not use.
void Hide(ManagerLayout& layout, ManagerSlot slot, int id) { layout[slot] = ControlPlace{id, false, false, {}}; }

PixelRect ToolbarSlot(int x) { return At(x, kToolbarTop, kToolbarButton, kToolbarButton); }

// The toolbar packs its shown buttons from the right, 26 pixels apart.
// Delete always stands where the cursor has got to; the list views put
// Update item and Add new item left of it; Find comes next, and the input
// box fills the row up to 2 pixels before Find.
void LayoutToolbar(ManagerLayout& layout, int view, int width, int left) {
  const bool log = IsLogView(view), list = IsListView(view), cache = view == IDC_TAB_CACHE;
  const bool flash = view == IDC_TAB_FLASH;
  int x = width - 40;
  auto pack = [&](ManagerSlot slot, int id, bool shown) {
    if (!shown) {
      Hide(layout, slot, id);
      return;
    }
    Place(layout, slot, id, true, ToolbarSlot(x));
    x -= kToolbarPitch;
  };
  pack(kSlotVisitPlay, kIdVisitPlay, !flash);
  pack(kSlotRefresh, kIdRefresh, log);
  pack(kSlotSaveFlash, kIdSaveFlash, flash);
  pack(kSlotDeleteCacheFiles, kIdDeleteCacheFiles,
       view == IDC_TAB_VISIT || flash || cache);
  pack(kSlotAddToForbidden, kIdAddToForbidden, view == IDC_TAB_VISIT || view == IDC_TAB_BLOCK || cache);
  pack(kSlotAddToWhite, kIdAddToWhite, view == IDC_TAB_VISIT || view == IDC_TAB_BLOCK || cache);
  Place(layout, kSlotDelete, kIdDelete, true, ToolbarSlot(x));
  int find = x - kToolbarPitch;
  if (list) {
    Place(layout, kSlotUpdateItem, kIdUpdateItem, true, ToolbarSlot(x - kToolbarPitch));
    Place(layout, kSlotAddNewItem, kIdAddNewItem, true, ToolbarSlot(x - 2 * kToolbarPitch));
    find = x - 3 * kToolbarPitch;
  } else {
    Hide(layout, kSlotUpdateItem, kIdUpdateItem);
    Hide(layout, kSlotAddNewItem, kIdAddNewItem);
  }
  Place(layout, kSlotFind, kIdFind, true, ToolbarSlot(find));
  const int inputLeft = left + 10;
  Place(layout, kSlotInputBox, kIdInputBox, true, PixelRect{inputLeft, kToolbarTop, find - 2, kToolbarTop + kToolbarButton});
}

// The main area starts below the toolbar row, or below the quick filter's
// row while that is shown; the toolbar row never moves.
void LayoutMainArea(ManagerLayout& layout, int view, int width, int height, int left, bool quickFilter) {
  const bool cache = view == IDC_TAB_CACHE;
  const int filter = quickFilter ? kQuickFilterRow : 0;
  if (quickFilter) {
    Place(layout, kSlotQuickFilter, kIdQuickFilter, true, At(left + 10, 85, width - left - 26, kQuickFilterRow - 3));
  } else {
    Hide(layout, kSlotQuickFilter, kIdQuickFilter);
  }
  const int cacheIds[] = {kIdFetchCache, kIdRadioAll,      kIdRadioHistory, kIdRadioCookies,
                          kIdCacheField, kIdCacheOperator, kIdCacheValue,   kIdDetailsBox};
  const ManagerSlot cacheSlots[] = {kSlotFetchCache, kSlotRadioAll,      kSlotRadioHistory, kSlotRadioCookies,
                                    kSlotCacheField, kSlotCacheOperator, kSlotCacheValue,   kSlotDetailsBox};
  if (view == IDC_TAB_FLASH) {
    Place(layout, kSlotItemList, kIdItemList, true, At(left + 10, 85 + filter, width - left - 26, 170 - filter));
    Place(layout, kSlotFlashPlayer, kIdFlashPlayer, true, At(left + 10, 258, width - left - 26, height - 298));
  } else if (cache) {
    Hide(layout, kSlotFlashPlayer, kIdFlashPlayer);
    const PixelRect rects[] = {At(10, 85, 86, 24),   At(110, 89, 32, 16),  At(147, 89, 55, 16),
                               At(207, 89, 60, 16),  At(282, 87, 120, 172), At(408, 87, 50, 118),
                               At(464, 87, width - 480, 22), At(10, 262, width - 26, height - 302)};
    for (int i = 0; i < 8; ++i) Place(layout, cacheSlots[i], cacheIds[i], true, rects[i]);
    Place(layout, kSlotItemList, kIdItemList, true, At(10, 114, width - 26, 145));
    return;
  } else {
    Place(layout, kSlotItemList, kIdItemList, true, At(left + 10, 85 + filter, width - left - 26, height - 125 - filter));
    Hide(layout, kSlotFlashPlayer, kIdFlashPlayer);
  }
  for (int i = 0; i < 8; ++i) Hide(layout, cacheSlots[i], cacheIds[i]);
}

}  // namespace

ManagerLayout LayoutManager(int view, int width, int height, int clientWidth, bool quickFilter) {
  ManagerLayout layout;
  const int C = clientWidth, W = width, H = height;
  Place(layout, kSlotCaptionText, 0, true, At(25, 4, C - 105, 17));
  Place(layout, kSlotClose, kIdClose, true, At(C - 21, 3, 18, 18));
  Place(layout, kSlotHideMe, kIdHideMe, true, At(C - 42, 3, 18, 18));
  Place(layout, kSlotMinimize, kIdMinimize, true, At(C - 63, 3, 18, 18));
  Place(layout, kSlotViewSelector, 0, true, PixelRect{10, 31, 491, 52});
  Place(layout, kSlotTopSeparator, kIdTopSeparator, true, At(9, 54, W - 23, 1));

  const bool log = IsLogView(view);
  Place(layout, kSlotDateList, kIdDateList, log, At(11, 59, 94, H - 99));
  const int left = log ? kDateListOffset : 0;
  LayoutMainArea(layout, view, W, H, left, quickFilter && HasQuickFilter(view));
  LayoutToolbar(layout, view, W, left);

  Place(layout, kSlotBottomSeparator, kIdBottomSeparator, true, At(9, H - 39, W - 23, 1));
  Place(layout, kSlotStatusLine, kIdStatusLine, true, At(11, H - 35, W - 227, 30));
  const struct {
    ManagerSlot slot;
    int id;
    int fromRight;
  } bottom[] = {{kSlotHelp, kIdHelp, 42},         {kSlotAbout, kIdAbout, 70},   {kSlotSendEmail, kIdSendEmail, 98},
                {kSlotOnlineUpdate, kIdOnlineUpdate, 126}, {kSlotWebSite, kIdWebSite, 154}, {kSlotConfig, kIdConfig, 182}};
  for (const auto& b : bottom) Place(layout, b.slot, b.id, true, At(W - b.fromRight, H - 35, kBottomButton, kBottomButton));
  return layout;
}

}  // namespace krx
