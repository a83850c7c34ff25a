// The decisions behind the lists' new commands: which commands the context
// menus offer, the keys, the format an export file's name asks for, and the
// scans of "Find in all days".
#include <gtest/gtest.h>

#include <algorithm>

#include "core/context_menu.h"
#include "core/item_text.h"
#include "core/manager_layout.h"
#include "core/manager_views.h"
#include "core/record_export.h"

namespace krx {
namespace {

bool Offers(const std::vector<ContextMenuItem>& menu, int id) {
  return std::any_of(menu.begin(), menu.end(), [id](const ContextMenuItem& i) { return i.id == id; });
}

// A command with a toolbar button is offered exactly where its button shows,
// at the smallest and the largest window.
TEST(ListCommands, TheItemMenuOffersAButtonsCommandExactlyWhereTheButtonShows) {
  const struct {
    ManagerSlot slot;
    int id;
  } buttons[] = {{kSlotVisitPlay, kIdVisitPlay},   {kSlotFind, kIdFind},
                 {kSlotDelete, kIdDelete},         {kSlotAddToWhite, kIdAddToWhite},
                 {kSlotAddToForbidden, kIdAddToForbidden}, {kSlotSaveFlash, kIdSaveFlash},
                 {kSlotDeleteCacheFiles, kIdDeleteCacheFiles}};
  for (const ViewInfo& v : kViews) {
    const std::vector<ContextMenuItem> menu = ItemListMenu(v.id);
    for (const auto& size : {std::pair{kMinTrackWidth, kMinTrackHeight}, std::pair{kMaxTrackWidth, kMaxTrackHeight}}) {
      const ManagerLayout layout = LayoutManager(v.id, size.first, size.second, size.first - 6);
      for (const auto& b : buttons) EXPECT_EQ(Offers(menu, b.id), layout[b.slot].shown) << v.id << " " << b.id;
    }
    EXPECT_TRUE(Offers(menu, kIdCopy) && Offers(menu, kIdSelectAll)) << v.id;
    EXPECT_EQ(DateListMenu(v.id).empty(), !IsLogView(v.id)) << v.id;
  }
  EXPECT_TRUE(ItemListMenu(0).empty());
}

TEST(ListCommands, KeysAndExportNames) {
  EXPECT_EQ(ListKeyCommand('C', true, true), ListKey::kCopy);
  EXPECT_EQ(ListKeyCommand('A', true, true), ListKey::kSelectAll);
  EXPECT_EQ(ListKeyCommand('C', false, true), ListKey::kNone);  // a plain C
  EXPECT_EQ(ListKeyCommand('A', true, false), ListKey::kNone);  // the input box's own
  const struct {
    const char* path;
    ExportFormat format;
  } names[] = {{"a.csv", ExportFormat::kCsv},       {"C:\\x\\A.HTML", ExportFormat::kHtml}, {"b.htm", ExportFormat::kHtml},
               {"c.TXT", ExportFormat::kText},      {"d", ExportFormat::kCsv},             {"e.doc", ExportFormat::kCsv},
               {"f.csv\\g", ExportFormat::kCsv},    {"dir.htm\\h", ExportFormat::kCsv}};
  for (const auto& n : names) EXPECT_EQ(ExportFormatOfPath(n.path, ExportFormat::kCsv), n.format) << n.path;
}

TEST(ListCommands, FindInAllDaysScans) {
  const std::vector<std::string> records = {"<12/01/2004 10:00:00> http://a/ - Alpha", "<12/02/2004 10:00:00> http://b/ - beta",
                                            "<12/01/2004 11:00:00> http://c/ - Beta", "<12/03/2004 10:00:00> http://d/ - gamma"};
  EXPECT_EQ(DaysContaining(records, "BETA", 0), (std::unordered_set<std::string>{"12/01/2004", "12/02/2004"}));
  EXPECT_EQ(DaysContaining(records, "Beta", 1), (std::unordered_set<std::string>{"12/01/2004"}));
  EXPECT_TRUE(DaysContaining(records, "delta", 0).empty());
  auto at = [&](int i) { return records[size_t(i)]; };
  EXPECT_EQ(FirstMatchFrom(4, at, "beta", 0, 0), 1);
  EXPECT_EQ(FirstMatchFrom(4, at, "beta", 2, 0), 2);
  EXPECT_EQ(FirstMatchFrom(4, at, "beta", 2, 1), -1);
  EXPECT_EQ(FirstMatchFrom(4, at, "gamma", -1, 0), 3);
}

}  // namespace
}  // namespace krx
