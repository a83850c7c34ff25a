// Filling a skinned list box many lines at once gives what LB_ADDSTRING
// line by line gives, and its held-line set answers as a scan of the lines.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "host_dialog.h"
#include "skin/skin_list_box.h"

namespace {

using krx::CSkinListBox;
using Lines = std::vector<std::string>;

// Case, punctuation that the word sort weighs lightly, high-ANSI letters and
// their plain look-alikes, equal and case-equal lines, an empty line and a
// line the list cuts at its zero byte.
Lines Awkward() {
  Lines lines = {"abc", "ABC", "Abc", "abc", "a-b", "ab", "a'b", "a b", "a_b", "a.b", "-", "'", "co-op",
                 "coop", "Co-Op", "", "10", "9", "1-0", "\xe9t\xe9", "\xc9T\xc9", "ete", "\xfc", "u", "\xdf",
                 "ss", "SS", "\x80", "\x81", "\xa0x", "~", "_", "[", "{", "zz", "Zz", "zZ", "\xff", "\xbf",
                 std::string("ab\0cd", 5), std::string("ab\0zz", 5), "<07/01/2004 09:00:00> http://a.example/ - T"};
  std::mt19937 random(7);
  const char pieces[][4] = {"a", "A", "b", "-", "'", " ", "\xe9", "\xc9", "0", "9", ".", "/", "<", ":"};
  for (int i = 0; i < 250; ++i) {
    std::string line;
    const size_t length = random() % 6;
    for (size_t k = 0; k < length; ++k) line += pieces[random() % (sizeof pieces / sizeof pieces[0])];
    lines.push_back(line);
  }
  return lines;
}

Lines Contents(const CSkinListBox& list) {
  Lines out;
  for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.GetText(i));
  return out;
}

std::vector<int> Heights(const CSkinListBox& list) {
  std::vector<int> out;
  for (int i = 0; i < list.GetCount(); ++i) out.push_back(list.GetItemHeight(i));
  return out;
}

// The plain answer: the list's lines compared from the last to the first.
bool ScanHolds(const Lines& contents, const std::string& text) {
  for (size_t i = contents.size(); i-- > 0;) {
    if (contents[i] == text) return true;
  }
  return false;
}

class SkinListFillTest : public ::testing::Test {
 protected:
  void SetUp() override { krx_test::CreateHostDialog(host, "List fill test"); }
  void Make(CSkinListBox& list, DWORD style, UINT id) {
    const RECT r = {10, 10, 300, 200};
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY | style, r, host, id));
  }
  krx::CDialog host;
};

TEST_F(SkinListFillTest, SameLinesOrderAndHeightsAsAddingOneByOne) {
  const Lines lines = Awkward();
  const DWORD styles[] = {LBS_SORT | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, LBS_SORT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS,
                          LBS_SORT, LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS};
  UINT id = 100;
  for (DWORD style : styles) {
    CSkinListBox one, many;
    Make(one, style, id++);
    Make(many, style, id++);
    {
      CSkinListBox::RedrawOff quiet(one);  // the order does not depend on it, the time does
      for (const std::string& line : lines) one.AddString(line);
    }
    EXPECT_EQ(many.AddLines(lines, false), int(lines.size()));
    EXPECT_EQ(Contents(many), Contents(one)) << std::hex << style;
    EXPECT_EQ(Heights(many), Heights(one)) << std::hex << style;
    one.UpdateHorizontalExtent();
    many.UpdateHorizontalExtent();
    EXPECT_EQ(many.SendMessage(LB_GETHORIZONTALEXTENT), one.SendMessage(LB_GETHORIZONTALEXTENT)) << std::hex << style;
    // The list keeps its style: lines added later land where they belong.
    for (const char* late : {"ABD", "a-c", "\xe9", "", "abc"}) {
      one.AddString(late);
      many.AddString(late);
    }
    EXPECT_EQ(Contents(many), Contents(one)) << std::hex << style;
    one.UpdateHorizontalExtent();
    many.UpdateHorizontalExtent();
    EXPECT_EQ(many.SendMessage(LB_GETHORIZONTALEXTENT), one.SendMessage(LB_GETHORIZONTALEXTENT)) << std::hex << style;
    one.DestroyWindow();
    many.DestroyWindow();
  }
}

TEST_F(SkinListFillTest, SkippingHeldLinesMatchesAScanBeforeEachAdd) {
  const Lines lines = Awkward();
  CSkinListBox one, many;
  const DWORD style = LBS_SORT | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
  Make(one, style, 200);
  Make(many, style, 201);
  auto addUnlessHeld = [&](const Lines& batch) {
    CSkinListBox::RedrawOff quiet(one);
    Lines contents = Contents(one);
    for (const std::string& line : batch) {
      if (ScanHolds(contents, line)) continue;
      const int at = one.AddString(line);
      contents.insert(contents.begin() + at, one.GetText(at));
    }
  };
  // Into the empty list, then a top-up of the non-empty one.
  const Lines first(lines.begin(), lines.begin() + 150);
  addUnlessHeld(first);
  many.AddLines(first, true);
  EXPECT_EQ(Contents(many), Contents(one));
  addUnlessHeld(lines);
  many.AddLines(lines, true);
  EXPECT_EQ(Contents(many), Contents(one));
}

TEST_F(SkinListFillTest, HeldLinesAnswerAsAReverseScanThroughEveryChange) {
  const Lines lines = Awkward();
  CSkinListBox list;
  Make(list, LBS_SORT | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, 300);
  Lines probes = lines;
  for (const char* extra : {"ABc", "ab\0", "\xc9", "missing", "abc "}) probes.push_back(extra);
  std::mt19937 random(11);
  auto check = [&](const char* step) {
    const Lines contents = Contents(list);
    for (const std::string& p : probes) ASSERT_EQ(list.Holds(p), ScanHolds(contents, p)) << step << " [" << p << "]";
  };
  CSkinListBox::RedrawOff quiet(list);
  for (size_t i = 0; i < 100; ++i) list.AddString(lines[i]);
  check("before the first question");
  list.AddLines(Lines(lines.begin() + 100, lines.end()), false);
  for (int i = 0; i < 50; ++i) list.InsertString(int(random() % list.GetCount()), lines[random() % lines.size()]);
  check("after adds and inserts");
  for (int i = 0; i < 120; ++i) list.DeleteString(int(random() % list.GetCount()));
  EXPECT_EQ(list.DeleteString(list.GetCount() + 5), LB_ERR);
  check("after deletes");
  list.ResetContent();
  check("after emptying");
  list.AddLines(lines, true);
  check("after a fill that skips held lines");
}

}  // namespace
