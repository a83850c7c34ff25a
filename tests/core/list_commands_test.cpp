// The decisions behind the lists' new commands: which commands the context
// menus offer, the keys, the exports (their bytes, the format a file's name
// asks for, the name proposed), and the scans of "Find in all days".
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "core/context_menu.h"
#include "core/item_text.h"
#include "core/log_export.h"
#include "core/manager_layout.h"
#include "core/manager_views.h"
#include "core/pixel_geometry.h"
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
  EXPECT_EQ(ListKeyCommand('G', true, false), ListKey::kGroupBySite);  // wherever the focus is
  EXPECT_EQ(ListKeyCommand('G', false, true), ListKey::kNone);
  const struct {
    const char* path;
    ExportFormat format;
  } names[] = {{"a.csv", ExportFormat::kCsv},       {"C:\\x\\A.HTML", ExportFormat::kHtml}, {"b.htm", ExportFormat::kHtml},
               {"c.TXT", ExportFormat::kText},      {"d", ExportFormat::kCsv},             {"e.doc", ExportFormat::kCsv},
               {"f.csv\\g", ExportFormat::kCsv},    {"dir.htm\\h", ExportFormat::kCsv}};
  for (const auto& n : names) EXPECT_EQ(ExportFormatOfPath(n.path, ExportFormat::kCsv), n.format) << n.path;
  EXPECT_EQ(ExportFileName("visit.log", "12/07/2026", ExportFormat::kCsv), "visit-2026-12-07.csv");
  EXPECT_EQ(ExportFileName("block.log", "2026-12-07", ExportFormat::kHtml), "block-2026-12-07.htm");
  EXPECT_EQ(ExportFileName("flash.log", "a:b/c", ExportFormat::kText), "flash-a-b-c.txt");
  EXPECT_EQ(ExportFileName("white.log", "", ExportFormat::kCsv), "white.csv");
  // The type chosen in Save As puts its ending on the name.
  const struct {
    const char* name;
    ExportFormat format;
    const char* named;
  } typed[] = {{"visit.csv", ExportFormat::kText, "visit.txt"},  {"C:\\d.x\\visit", ExportFormat::kCsv, "C:\\d.x\\visit.csv"},
               {"a.HTML", ExportFormat::kHtml, "a.HTML"},        {"a.html", ExportFormat::kCsv, "a.csv"},
               {"notes.doc", ExportFormat::kText, "notes.doc"},  {"", ExportFormat::kHtml, ".htm"}};
  for (const auto& t : typed) EXPECT_EQ(WithExportExtension(t.name, t.format), t.named) << t.name;
  // Save As over the manager, kept on the screen.
  EXPECT_EQ(CentredOver({100, 100, 700, 500}, 400, 300, {0, 0, 1280, 1024}), (PixelPoint{200, 150}));
  EXPECT_EQ(CentredOver({0, 0, 200, 100}, 400, 300, {0, 0, 1280, 1024}), (PixelPoint{0, 0}));
  EXPECT_EQ(CentredOver({1100, 900, 1280, 1024}, 400, 300, {0, 0, 1280, 1000}), (PixelPoint{880, 700}));
}

// One table over the export formats, byte for byte: a log's columns in day
// and time order (equal seconds and unreadable dates in stored order, the
// latter last), a day alone, a list; CSV cells that a spreadsheet would run
// as formulas; HTML escaped, with web addresses only as links.
TEST(ListCommands, ExportsByteForByte) {
  const StringArray log = {"<12/07/2026 09:00:05> http://b.example/ - =HYPERLINK(\"x\")",
                           "<12/05/2026 10:00:00> ftp://f.example/a?x=1&y=2 - Tab\there",
                           "no date at all",
                           "<12/06/2026 09:00:00>http://c.example/ - no blank",
                           "<12/05/2026 08:00:00> javascript:alert(1) - <b>\"Bold\" & 'q'</b>",
                           "<12/05/2026 10:00:00> http://a.example/ - -1, @home"};
  const StringArray list = {"http://w.example/", "=1+2"};
  const std::string head = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><meta name=\"referrer\" "
                           "content=\"no-referrer\"><title>Visit log, 12/05/2026</title>\n<style>"
                           "table{border-collapse:collapse}th,td{text-align:left;vertical-align:top;padding:2px 8px;"
                           "border-bottom:1px solid #ccc}td{overflow-wrap:anywhere}.log td:nth-child(-n+2){white-space:nowrap}"
                           "</style></head><body>\n"
                           "<h1>Visit log, 12/05/2026</h1>\n<p>3 records, exported 12/07/2026 21:30:00</p>\n<table class=\"log\">\n";
  const struct {
    ExportFormat format;
    bool isList;
    const char* day;
    std::string bytes;
  } cases[] = {
      {ExportFormat::kCsv, false, "",
       "Date,Time,Address,Detail\r\n"
       "12/05/2026,08:00:00,javascript:alert(1),\"<b>\"\"Bold\"\" & 'q'</b>\"\r\n"
       "12/05/2026,10:00:00,ftp://f.example/a?x=1&y=2,Tab\there\r\n"
       "12/05/2026,10:00:00,http://a.example/,\"'-1, @home\"\r\n"
       ",,,<12/06/2026 09:00:00>http://c.example/ - no blank\r\n"
       "12/07/2026,09:00:05,http://b.example/,\"'=HYPERLINK(\"\"x\"\")\"\r\n"
       ",,,no date at all\r\n"},
      {ExportFormat::kText, false, "12/05/2026",
       "Visit log, 12/05/2026\n3 records, exported 12/07/2026 21:30:00\n\nDate\tTime\tAddress\tDetail\n"
       "12/05/2026\t08:00:00\tjavascript:alert(1)\t<b>\"Bold\" & 'q'</b>\n"
       "12/05/2026\t10:00:00\tftp://f.example/a?x=1&y=2\tTab here\n"
       "12/05/2026\t10:00:00\thttp://a.example/\t-1, @home\n"},
      {ExportFormat::kHtml, false, "12/05/2026",
       head + "<tr><th>Date</th><th>Time</th><th>Address</th><th>Detail</th></tr>\n"
              "<tr><td>12/05/2026</td><td>08:00:00</td><td>javascript:alert(1)</td>"
              "<td>&lt;b&gt;&quot;Bold&quot; &amp; &#39;q&#39;&lt;/b&gt;</td></tr>\n"
              "<tr><td>12/05/2026</td><td>10:00:00</td><td><a href=\"ftp://f.example/a?x=1&amp;y=2\" rel=\"noreferrer\">"
              "ftp://f.example/a?x=1&amp;y=2</a></td><td>Tab\there</td></tr>\n"
              "<tr><td>12/05/2026</td><td>10:00:00</td><td><a href=\"http://a.example/\" rel=\"noreferrer\">"
              "http://a.example/</a></td><td>-1, @home</td></tr>\n</table>\n</body></html>\n"},
      {ExportFormat::kCsv, true, "", "Address\r\nhttp://w.example/\r\n\"'=1+2\"\r\n"},
      {ExportFormat::kText, true, "",
       "White list\n2 records, exported 12/07/2026 21:30:00\n\nAddress\nhttp://w.example/\n=1+2\n"},
  };
  for (const auto& c : cases) {
    ExportRequest request;
    NameExportAfterFile(c.isList ? "User/white.log" : "C:\\User\\visit.log", request);
    EXPECT_EQ(request.isList, c.isList);
    request.format = c.format;
    request.day = c.day;
    request.exportedAt = ExportTimeText(2026, 12, 7, 21, 30, 0);
    request.newline = "\n";
    std::ostringstream out;
    WriteExport(out, request, c.isList ? list : log);
    EXPECT_EQ(out.str(), c.bytes) << int(c.format) << " " << c.day;
  }
}

// A spreadsheet runs a cell that begins like a formula after blanks, and
// takes the full-width signs for the ASCII ones: in the code page the
// records are written in, and only there.
TEST(ListCommands, CsvCellsThatASpreadsheetWouldRun) {
  const struct {
    const char* cell;
    unsigned codePage;
    bool formula;
  } cells[] = {
      {"=1+1", kCodePageUtf8, true},         {" =1+1", kCodePageUtf8, true},
      {" \t @SUM(A1)", 1252, true},         {"\tplain", 1252, true},
      {"\rplain", 1252, true},              {"   ", 1252, false},
      {"a=1", 1252, false},                  {"", 1252, false},
      {"\xEF\xBC\x9D" "1+1", kCodePageUtf8, true}, {"  \xEF\xBC\xA0x", kCodePageUtf8, true},
      {"\xEF\xBC\x8B" "1", 1252, false},    {"\x81\x81" "1", 932, true},
      {"\x81\x7C" "1", 932, true},           {"\x81\x40" "1", 932, false},  // the full-width blank is text
      {"\xA3\xBD" "1", 936, true},           {"\xA3\xAB" "1", 949, true},
      {"\xA2\x49" "x", 950, true},           {"\xA3\xBD" "1", 950, false},
      {"\x81\x81" "1", 936, false},          {"\xE9t\xE9", 1252, false},
  };
  for (const auto& c : cells) {
    EXPECT_EQ(CsvCellLooksLikeFormula(c.cell, c.codePage), c.formula) << c.cell << " " << c.codePage;
    EXPECT_EQ(CsvField(c.cell, c.codePage).rfind("\"'", 0) == 0, c.formula) << c.cell << " " << c.codePage;
  }
}

// Export this day with the quick filter on: the day's lines on show only,
// with case as Find compares it; the count in the heading is theirs.
TEST(ListCommands, ADaysExportUnderTheQuickFilterHoldsOnlyTheLinesOnShow) {
  const StringArray log = {"<12/05/2026 10:00:00> http://News.example/ - A", "<12/05/2026 09:00:00> http://b.example/ - news",
                           "<12/06/2026 10:00:00> http://news.example/ - C", "<12/05/2026 11:00:00> http://c.example/ - D"};
  const struct {
    const char* filter;
    int filterCase;
    std::string rows;
  } cases[] = {
      {"news", 0, "12/05/2026,09:00:00,http://b.example/,news\r\n12/05/2026,10:00:00,http://News.example/,A\r\n"},
      {"News", 1, "12/05/2026,10:00:00,http://News.example/,A\r\n"},
      {"", 1, "12/05/2026,09:00:00,http://b.example/,news\r\n12/05/2026,10:00:00,http://News.example/,A\r\n"
              "12/05/2026,11:00:00,http://c.example/,D\r\n"},
      {"nowhere", 0, ""},
  };
  for (const auto& c : cases) {
    ExportRequest request;
    NameExportAfterFile("visit.log", request);
    request.format = ExportFormat::kCsv;
    request.day = "12/05/2026";
    request.filter = c.filter;
    request.filterCase = c.filterCase;
    std::ostringstream out;
    WriteExport(out, request, log);
    EXPECT_EQ(out.str(), "Date,Time,Address,Detail\r\n" + c.rows) << c.filter;
  }
}

// Export this day over several chosen days: their records only, in day
// and time order, named and headed by the first and the last day.
TEST(ListCommands, ChosenDaysExportTogether) {
  const StringArray log = {"<12/02/2026 10:00:00> http://b/ - B", "<12/01/2026 10:00:00> http://a/ - A",
                           "<12/03/2026 10:00:00> http://c/ - C", "<12/07/2026 10:00:00> http://d/ - about <12/01/2026"};
  ExportRequest request;
  NameExportAfterFile("visit.log", request);
  request.format = ExportFormat::kText;
  request.newline = "\n";
  request.exportedAt = "now";
  request.days = {"12/01/2026", "12/02/2026", "12/07/2026"};
  std::ostringstream out;
  WriteExport(out, request, log);
  EXPECT_EQ(out.str(), "Visit log, 12/01/2026 to 12/07/2026\n3 records, exported now\n\nDate\tTime\tAddress\tDetail\n"
                       "12/01/2026\t10:00:00\thttp://a/\tA\n12/02/2026\t10:00:00\thttp://b/\tB\n"
                       "12/07/2026\t10:00:00\thttp://d/\tabout <12/01/2026\n");
  EXPECT_EQ(ExportFileNameOf("visit.log", request, ExportFormat::kCsv), "visit-2026-12-01-to-2026-12-07.csv");
  request.days = {"12/01/2026"};
  EXPECT_EQ(ExportFileNameOf("block.log", request, ExportFormat::kHtml), "block-2026-12-01.htm");
  request.days = {"", "12/02/2026"};
  EXPECT_EQ(ExportFileNameOf("visit.log", request, ExportFormat::kText), "visit-to-2026-12-02.txt");
  request.days.clear();
  request.day = "12/03/2026";
  EXPECT_EQ(ExportFileNameOf("flash.log", request, ExportFormat::kCsv), "flash-2026-12-03.csv");
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
