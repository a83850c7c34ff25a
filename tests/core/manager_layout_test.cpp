// The manager window's layout rule: which controls each view shows and where
// the toolbar packs them.
#include <gtest/gtest.h>

#include <vector>

#include "core/manager_layout.h"
#include "core/manager_views.h"
#include "core/quick_filter.h"

namespace {

using namespace krx;

struct ViewRow {
  int view;
  bool dateList, flashPlayer, cacheControls;
  std::vector<int> toolbarFromRight;  // shown toolbar buttons, rightmost first
};

const ViewRow kRows[] = {
    {IDC_TAB_VISIT, true, false, false,
     {kIdVisitPlay, kIdRefresh, kIdDeleteCacheFiles, kIdAddToForbidden, kIdAddToWhite, kIdDelete, kIdFind}},
    {IDC_TAB_BLOCK, true, false, false,
     {kIdVisitPlay, kIdRefresh, kIdAddToForbidden, kIdAddToWhite, kIdDelete, kIdFind}},
    {IDC_TAB_FLASH, true, true, false, {kIdRefresh, kIdSaveFlash, kIdDeleteCacheFiles, kIdDelete, kIdFind}},
    {IDC_TAB_MEDIA, true, false, false, {kIdVisitPlay, kIdRefresh, kIdDelete, kIdFind}},
    {IDC_TAB_WHITE, false, false, false, {kIdVisitPlay, kIdDelete, kIdUpdateItem, kIdAddNewItem, kIdFind}},
    {IDC_TAB_FORBID, false, false, false, {kIdVisitPlay, kIdDelete, kIdUpdateItem, kIdAddNewItem, kIdFind}},
    {IDC_TAB_CACHE, false, false, true,
     {kIdVisitPlay, kIdDeleteCacheFiles, kIdAddToForbidden, kIdAddToWhite, kIdDelete, kIdFind}},
};

const ManagerSlot kToolbarSlots[] = {kSlotVisitPlay,    kSlotRefresh,   kSlotSaveFlash,  kSlotDeleteCacheFiles,
                                     kSlotAddToForbidden, kSlotAddToWhite, kSlotDelete,   kSlotUpdateItem,
                                     kSlotAddNewItem,   kSlotFind};
const ManagerSlot kCacheSlots[] = {kSlotFetchCache, kSlotRadioAll,      kSlotRadioHistory, kSlotRadioCookies,
                                   kSlotCacheField, kSlotCacheOperator, kSlotCacheValue,   kSlotDetailsBox};
const ManagerSlot kAlwaysShown[] = {kSlotCaptionText, kSlotClose,      kSlotHideMe,    kSlotMinimize,
                                    kSlotViewSelector, kSlotTopSeparator, kSlotItemList, kSlotInputBox,
                                    kSlotBottomSeparator, kSlotStatusLine, kSlotHelp,  kSlotAbout,
                                    kSlotSendEmail, kSlotOnlineUpdate, kSlotWebSite, kSlotConfig};

TEST(ManagerLayout, EveryViewShowsItsControlsAndPacksItsToolbar) {
  const struct {
    int w, h;
  } sizes[] = {{620, 420}, {1024, 768}, {590, 415}};
  for (const auto& size : sizes) {
    for (const ViewRow& row : kRows) {
      SCOPED_TRACE(testing::Message() << "view " << row.view << " at " << size.w << "x" << size.h);
      const ManagerLayout layout = LayoutManager(row.view, size.w, size.h, size.w - 8);
      for (ManagerSlot slot : kAlwaysShown) EXPECT_TRUE(layout[slot].shown && layout[slot].placed) << slot;
      EXPECT_EQ(layout[kSlotDateList].shown, row.dateList);
      EXPECT_EQ(layout[kSlotFlashPlayer].shown, row.flashPlayer);
      for (ManagerSlot slot : kCacheSlots) EXPECT_EQ(layout[slot].shown, row.cacheControls) << slot;

      // The shown buttons stand 26 pixels apart from W - 40 leftwards, in
      // the order of the row; all others are hidden.
      std::vector<int> shown;
      for (ManagerSlot slot : kToolbarSlots) {
        if (!layout[slot].shown) continue;
        shown.push_back(slot);
        EXPECT_EQ(layout[slot].rect.Width(), 24);
        EXPECT_EQ(layout[slot].rect.top, 59);
        EXPECT_EQ(layout[slot].rect.bottom, 83);
      }
      ASSERT_EQ(shown.size(), row.toolbarFromRight.size());
      for (size_t i = 0; i < row.toolbarFromRight.size(); ++i) {
        int found = -1;
        for (ManagerSlot slot : kToolbarSlots) {
          if (layout[slot].id == row.toolbarFromRight[i]) found = slot;
        }
        ASSERT_GE(found, 0);
        EXPECT_TRUE(layout[found].shown) << row.toolbarFromRight[i];
        EXPECT_EQ(layout[found].rect.left, size.w - 40 - 26 * int(i)) << row.toolbarFromRight[i];
      }

      // The input box runs from the main area's left to 2 pixels before Find.
      const int left = row.dateList ? 98 : 0;
      EXPECT_EQ(layout[kSlotInputBox].rect, (PixelRect{left + 10, 59, layout[kSlotFind].rect.left - 2, 83}));
    }
  }
}

TEST(ManagerLayout, MainAreaBottomRowAndCaption) {
  const int W = 620, H = 420, C = 612;
  const ManagerLayout visit = LayoutManager(IDC_TAB_VISIT, W, H, C);
  EXPECT_EQ(visit[kSlotDateList].rect, (PixelRect{11, 59, 105, 59 + H - 99}));
  EXPECT_EQ(visit[kSlotItemList].rect, (PixelRect{108, 85, 108 + W - 98 - 26, 85 + H - 125}));
  const ManagerLayout flash = LayoutManager(IDC_TAB_FLASH, W, H, C);
  EXPECT_EQ(flash[kSlotItemList].rect, (PixelRect{108, 85, 108 + W - 124, 255}));
  EXPECT_EQ(flash[kSlotFlashPlayer].rect, (PixelRect{108, 258, 108 + W - 124, 258 + H - 298}));
  const ManagerLayout white = LayoutManager(IDC_TAB_WHITE, W, H, C);
  EXPECT_TRUE(white[kSlotDateList].placed);  // moved, though hidden
  EXPECT_EQ(white[kSlotItemList].rect, (PixelRect{10, 85, W - 16, 85 + H - 125}));
  const ManagerLayout cache = LayoutManager(IDC_TAB_CACHE, W, H, C);
  EXPECT_EQ(cache[kSlotItemList].rect, (PixelRect{10, 114, W - 16, 259}));
  EXPECT_EQ(cache[kSlotCacheValue].rect, (PixelRect{464, 87, W - 16, 109}));
  EXPECT_EQ(cache[kSlotDetailsBox].rect, (PixelRect{10, 262, W - 16, H - 40}));
  EXPECT_FALSE(cache[kSlotFlashPlayer].placed);

  EXPECT_EQ(visit[kSlotStatusLine].rect, (PixelRect{11, H - 35, W - 216, H - 5}));
  EXPECT_EQ(visit[kSlotHelp].rect, (PixelRect{W - 42, H - 35, W - 16, H - 9}));
  EXPECT_EQ(visit[kSlotConfig].rect.left, W - 182);
  EXPECT_EQ(visit[kSlotBottomSeparator].rect, (PixelRect{9, H - 39, W - 14, H - 38}));
  EXPECT_EQ(visit[kSlotCaptionText].rect, (PixelRect{25, 4, C - 80, 21}));
  EXPECT_EQ(visit[kSlotClose].rect, (PixelRect{C - 21, 3, C - 3, 21}));
  EXPECT_EQ(visit[kSlotMinimize].rect.left, C - 63);
}

// The quick filter takes a row of its own between the toolbar row and the
// item list, in the four logs and the two lists only: every other control
// stays exactly where it was, and the item list gives up the row's height.
TEST(ManagerLayout, TheQuickFilterRowShrinksOnlyTheItemList) {
  const struct {
    int w, h;
  } sizes[] = {{620, 420}, {1024, 768}, {590, 415}};
  for (const auto& size : sizes) {
    for (const ViewRow& row : kRows) {
      SCOPED_TRACE(testing::Message() << "view " << row.view << " at " << size.w << "x" << size.h);
      const ManagerLayout plain = LayoutManager(row.view, size.w, size.h, size.w - 8);
      const ManagerLayout filtered = LayoutManager(row.view, size.w, size.h, size.w - 8, true);
      const bool has = row.view != IDC_TAB_CACHE;
      EXPECT_FALSE(plain[kSlotQuickFilter].shown);
      EXPECT_EQ(filtered[kSlotQuickFilter].shown, has);
      EXPECT_EQ(filtered[kSlotQuickFilter].id, kIdQuickFilter);
      for (int slot = 0; slot < kSlotCount; ++slot) {
        if (slot == kSlotQuickFilter || (has && slot == kSlotItemList)) continue;
        EXPECT_EQ(filtered[slot].rect, plain[slot].rect) << slot;
        EXPECT_EQ(filtered[slot].shown, plain[slot].shown) << slot;
      }
      if (!has) continue;
      const PixelRect field = filtered[kSlotQuickFilter].rect, list = filtered[kSlotItemList].rect;
      const PixelRect was = plain[kSlotItemList].rect;
      EXPECT_GT(field.top, plain[kSlotInputBox].rect.bottom);  // below the toolbar row
      EXPECT_EQ(field.left, was.left);
      EXPECT_EQ(field.right, was.right);
      EXPECT_EQ(field.top, was.top);
      EXPECT_GE(field.Height(), 18);  // a line of the window's font fits
      EXPECT_EQ(list.top, field.bottom + 3);
      EXPECT_EQ(list.top - was.top, kQuickFilterRow);
      EXPECT_EQ(list.bottom, was.bottom);
      EXPECT_EQ(list.left, was.left);
      EXPECT_EQ(list.right, was.right);
    }
  }
}

}  // namespace
