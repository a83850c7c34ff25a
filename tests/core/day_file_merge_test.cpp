// Cutting day files into records and merging them into a log collection:
// the edge cases of the line rule, the index kept beside the collection, and
// a differential check against the plain reverse-scan merge.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "core/day_file_marks.h"
#include "core/day_file_merge.h"
#include "core/day_folder_choice.h"
#include "core/day_file_names.h"
#include "support/merge_reference.h"

using krx::MergeTarget;
using krx::StringArray;

namespace {

bool Lead81(unsigned char c) { return c == 0x81; }

StringArray Merge(const std::string& text, StringArray records = {}) {
  MergeTarget target(records);
  target.MergeDayText(text);
  return records;
}

// The lines as the merge cuts them, before it looks at what they hold.
StringArray Cut(const std::string& text, krx::LeadBytePredicate isLead = nullptr) {
  StringArray lines;
  krx::ForEachDayFileLine(text, isLead, [&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

TEST(DayFileMerge, RepeatedLinesAreAddedOnceAndAgainNeverAgain) {
  StringArray records;
  MergeTarget target(records);
  EXPECT_EQ(target.MergeDayText("<a 1\r\n<a 1\r\n<b 2"), 2u);
  EXPECT_EQ(records, (StringArray{"<a 1", "<b 2"}));
  EXPECT_EQ(target.MergeDayText("<a 1\r\n<a 1\r\n<b 2"), 0u);
  EXPECT_EQ(records.size(), 2u);
}

TEST(DayFileMerge, LineEndsDecideTheRecords) {
  EXPECT_EQ(Cut("A1\r\nB2"), (StringArray{"A1", "B2"}));            // no final CR LF
  EXPECT_EQ(Cut("A1\r\nB2\r\n"), (StringArray{"A1", "B2"}));        // no empty line at the end
  EXPECT_EQ(Cut("\r\nA1"), (StringArray{"\r\nA1"}));                 // an empty first line joins the next
  EXPECT_EQ(Cut("x\r\nA1\r\n"), (StringArray{"x\r\nA1"}));          // so does a one-byte line
  EXPECT_EQ(Cut("A1\r\n\r\n"), (StringArray{"A1", "\r\n"}));        // a lone CR LF at the end stays a line
  EXPECT_EQ(Cut("A1\r\n\r\n\r\nB2"), (StringArray{"A1", "\r\n", "B2"}));
  EXPECT_EQ(Cut("x"), (StringArray{"x"}));
  EXPECT_EQ(Cut(""), StringArray{});
  EXPECT_EQ(Cut(std::string("a\0b\r\nc\0", 7)), (StringArray{std::string("a\0b", 3), std::string("c\0", 2)}));
}

// Only text that begins with '<' and holds no control character but tab
// is merged; what is left out is counted.
TEST(DayFileMerge, OnlyTextLinesAreMergedAndTheRestIsCounted) {
  const struct {
    std::string text;
    StringArray merged;
    size_t leftOut;
  } cases[] = {
      {"<a 1\r\n<b\t2\r\n", {"<a 1", "<b\t2"}, 0},
      {"<a 1\r\nno stamp\r\n<b 2", {"<a 1", "<b 2"}, 1},
      {std::string("<a\0 1\r\n<a\x1b 1\r\n<a\x7f 1\r\n<c \xe9\x81\xff", 27), {"<c \xe9\x81\xff"}, 3},
      {"\r\n<a 1\r\n<b 2", {"<b 2"}, 1},  // an empty line joins the next: it holds CR LF
      {"<a 1\r\n\r\n", {"<a 1"}, 1},       // a lone CR LF at the end
      {"x\r\n\r\n\r\n", {}, 2},
      {"", {}, 0},
  };
  for (const auto& c : cases) {
    StringArray records;
    size_t leftOut = 0;
    MergeTarget(records).MergeDayText(c.text, nullptr, &leftOut);
    EXPECT_EQ(records, c.merged) << c.text;
    EXPECT_EQ(leftOut, c.leftOut) << c.text;
  }
  // Read on from a mark, only the new lines are counted.
  StringArray records;
  MergeTarget target(records);
  krx::DayFileReadMark mark;
  size_t leftOut = 0;
  target.MergeDayTextAfter("junk\r\n<a 1\r\n", mark, nullptr, &leftOut);
  target.MergeDayTextAfter("junk\r\n<a 1\r\nmore junk\r\n<b 2\r\n", mark, nullptr, &leftOut);
  EXPECT_EQ(records, (StringArray{"<a 1", "<b 2"}));
  EXPECT_EQ(leftOut, 2u);
}

TEST(DayFileMerge, RecordsAlreadyLoadedAreNotAddedAgain) {
  EXPECT_EQ(Merge("<old 1\r\n<new 2", {"<old 1", "<old 1"}), (StringArray{"<old 1", "<old 1", "<new 2"}));
  EXPECT_EQ(Merge("old 1\r\n<new 2", {"old 1"}), (StringArray{"old 1", "<new 2"}));
}

TEST(DayFileMerge, TheSearchStepsOverTrailBytesOfDoubleByteCharacters) {
  const std::string text = "ab\x81\r\nC1\r\nD2";
  EXPECT_EQ(krx::FindCrLf(text, 2), 3u);
  EXPECT_EQ(krx::FindCrLf(text, 2, &Lead81), 7u);
  EXPECT_EQ(Cut(text, &Lead81), (StringArray{"ab\x81\r\nC1", "D2"}));
}

TEST(DayFileMerge, TheIndexFollowsChangesMadeBesideIt) {
  StringArray records{"r1", "r2", "r3"};
  MergeTarget target(records);
  EXPECT_FALSE(target.AppendIfAbsent("r2"));
  records.erase(records.begin() + 1);  // an item deleted by the user
  EXPECT_TRUE(target.AppendIfAbsent("r2"));
  records.back() = "r9";  // replaced in place: the last record no longer agrees
  EXPECT_TRUE(target.AppendIfAbsent("r2"));
  records[0] = "r7";  // replaced elsewhere: the owner says so
  target.Invalidate();
  EXPECT_TRUE(target.AppendIfAbsent("r1"));
  EXPECT_FALSE(target.AppendIfAbsent("r7"));
  EXPECT_EQ(records, (StringArray{"r7", "r3", "r9", "r2", "r1"}));
}

// Random day files over a tiny alphabet, so that duplicates within and across
// files, CR LF at offsets 0 and 1, and lines of 0 and 1 bytes all occur often.
std::string RandomText(std::mt19937& rng, bool withLeads) {
  static const char* const pieces[] = {"<", "b", "\r\n", "\r\n", "\r", "\n", "<b", "<d x", "\x81"};
  int kinds = withLeads ? 9 : 8;
  std::string text;
  int n = int(rng() % 24);
  for (int i = 0; i < n; ++i) text += pieces[rng() % kinds];
  return text;
}

TEST(DayFileMerge, GivesTheReverseScanResultOnRandomInput) {
  std::mt19937 rng(20261207);
  for (int round = 0; round < 3000; ++round) {
    bool withLeads = round % 2 == 1;
    StringArray expected;
    for (int i = int(rng() % 4); i > 0; --i) expected.push_back(RandomText(rng, withLeads));
    StringArray actual = expected;  // preloaded records, duplicates and empties included
    MergeTarget target(actual);
    for (int file = int(rng() % 5); file > 0; --file) {
      std::string text = RandomText(rng, withLeads);
      krx_test::ReferenceMerge(text, expected, withLeads ? &Lead81 : nullptr);
      target.MergeDayText(text, withLeads ? &Lead81 : nullptr);
      ASSERT_EQ(actual, expected) << "round " << round;
    }
  }
}

// A day file read again after the user deleted records: only what the add-on
// appended since comes in; a file that no longer starts as it did is read
// from its start.
TEST(DayFileMerge, ARereadTakesOnlyWhatTheFileGained) {
  const struct {
    const char* before;
    const char* deleted;
    const char* after;
    StringArray expected;
  } cases[] = {
      {"<A1\r\n<B2\r\n", "<A1", "<A1\r\n<B2\r\n", {"<B2"}},
      {"<A1\r\n<B2\r\n", "<A1", "<A1\r\n<B2\r\n<C3", {"<B2", "<C3"}},
      {"<A1\r\n<B2", "<B2", "<A1\r\n<B2\r\n<C3\r\n", {"<A1", "<C3"}},    // the last line had no CR LF yet
      {"<A1\r\n<B", "", "<A1\r\n<B2\r\n", {"<A1", "<B", "<B2"}},         // ... and was cut short: <B2 is new
      {"<A1\r\n", "", "<A1\r\n\r\n<B2\r\n<C3", {"<A1", "<C3"}},  // an empty line joins the next: no record
      {"<A1\r\n<B2\r\n", "<A1", "<A1\r\n", {"<B2", "<A1"}},             // shrank: read from the start
      {"<A1\r\n<B2\r\n", "<A1", "<X9\r\n<A1\r\n<C3", {"<B2", "<X9", "<A1", "<C3"}},  // re-created
  };
  for (const auto& c : cases) {
    StringArray records;
    MergeTarget target(records);
    krx::DayFileReadMark mark;
    target.MergeDayTextAfter(c.before, mark);
    records.erase(std::remove(records.begin(), records.end(), c.deleted), records.end());
    target.MergeDayTextAfter(c.after, mark);
    EXPECT_EQ(records, c.expected) << c.before << " then " << c.after;
    EXPECT_EQ(mark.size, std::string(c.after).size());
  }
}

// With nothing deleted, reading only the gain gives what reading every
// stage of a growing file whole gives.
TEST(DayFileMerge, ReadingTheGainOfAGrowingFileAgreesWithReadingItWhole) {
  std::mt19937 rng(20261208);
  for (int round = 0; round < 3000; ++round) {
    const bool withLeads = round % 2 == 1;
    const krx::LeadBytePredicate lead = withLeads ? &Lead81 : nullptr;
    std::string text;
    for (int i = 0; i < 4; ++i) text += RandomText(rng, withLeads);
    StringArray whole, gained;
    MergeTarget wholeTarget(whole), gainTarget(gained);
    krx::DayFileReadMark mark;
    size_t cut = 0;
    while (cut < text.size()) {
      cut += 1 + rng() % 12;
      const std::string_view stage = std::string_view(text).substr(0, std::min(cut, text.size()));
      wholeTarget.MergeDayText(stage, lead);
      gainTarget.MergeDayTextAfter(stage, mark, lead);
      ASSERT_EQ(gained, whole) << "round " << round;
    }
  }
}

TEST(DayFileMerge, TheIndexGrowsWithoutLosingRecords) {
  StringArray records;
  MergeTarget target(records);
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "<d " + std::to_string(i % 3000) + "\r\n";
  EXPECT_EQ(target.MergeDayText(text), 3000u);
  EXPECT_EQ(target.MergeDayText(text), 0u);
  StringArray reference;
  krx_test::ReferenceMerge(text, reference);
  EXPECT_EQ(records, reference);
}

}  // namespace

namespace {

TEST(DayFileNames, OnlyTheRealExtensionMakesADayFile) {
  EXPECT_TRUE(krx::HasExtension("20261207.vis", ".vis"));
  EXPECT_TRUE(krx::HasExtension("A.B.VIS", ".vis"));
  EXPECT_FALSE(krx::HasExtension("a.visx", ".vis"));  // found through its short name A~1.VIS
  EXPECT_FALSE(krx::HasExtension("x.visited", ".vis"));
  EXPECT_FALSE(krx::HasExtension("vis", ".vis"));
  EXPECT_FALSE(krx::HasExtension("a.vis.txt", ".vis"));
  EXPECT_EQ(krx::kDayFileMergeOrder[2].collection, krx::kMediaRecords);
  EXPECT_EQ(krx::kDayFileDeleteOrder[2].collection, krx::kFlashRecords);
}

}  // namespace

// The reading marks kept in the user folder between runs, byte for byte.
TEST(DayFileMarks, LayoutByteForByte) {
  krx::DayFileMarks marks;
  marks["b.vis"] = {0x0102, 0x0100, 0x1122334455667788ull};
  marks["a.blc"] = {7, 7, 1};
  const std::string bytes = krx::SerializeDayFileMarks(marks);
  const std::string body = std::string("KRXM\x01\0\0\0\x02\0\0\0", 12) +
                           std::string("\x05\0a.blc\x07\0\0\0\0\0\0\0\x07\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\0", 31) +
                           std::string("\x05\0b.vis\x02\x01\0\0\0\0\0\0\0\x01\0\0\0\0\0\0\x88\x77\x66\x55\x44\x33\x22\x11", 31);
  ASSERT_EQ(bytes.size(), body.size() + 8);
  EXPECT_EQ(bytes.substr(0, body.size()), body);
  uint64_t check = 0;
  for (int i = 7; i >= 0; --i) check = check << 8 | static_cast<unsigned char>(bytes[body.size() + size_t(i)]);
  EXPECT_EQ(check, krx::DayFileFingerprint(body));
  krx::DayFileMarks back;
  ASSERT_TRUE(krx::ParseDayFileMarks(bytes, back));
  EXPECT_EQ(back.size(), 2u);
  EXPECT_EQ(back["b.vis"].fingerprint, 0x1122334455667788ull);
  EXPECT_EQ(back["b.vis"].lastLineStart, 0x0100u);
}

// A marks file cut short or changed reads as none: the day files are then
// read whole, which loses nothing.
TEST(DayFileMarks, DamageReadsAsNoMarks) {
  const std::string good = krx::SerializeDayFileMarks({{"20261207.vis", {10, 4, 99}}});
  for (std::string bad : {good.substr(0, good.size() - 1), good + "x", std::string(good).replace(20, 1, "!")}) {
    krx::DayFileMarks read{{"left over", {}}};
    EXPECT_FALSE(krx::ParseDayFileMarks(bad, read));
    EXPECT_TRUE(read.empty());
  }
}

// Where the add-on's next line goes: tmp\ until it refuses, then the low
// folder for a while, then tmp\ again; the tick count wraps.
TEST(DayFolderChoice, ARefusalIsBelievedForAWhileAcrossTheTickWrap) {
  constexpr uint32_t kWhile = krx::DayFolderChoice::kBelievedMs;
  const struct {
    const char* what;
    uint32_t refusedAt, now;
    bool tookSince, tryTmp;
  } rows[] = {
      {"just refused", 1000, 1000, false, false},
      {"a moment later", 1000, 1000 + kWhile - 1, false, false},
      {"the while is over", 1000, 1000 + kWhile, false, true},
      {"refused just before the wrap", 0xFFFFFF00u, 0x100u, false, false},
      {"over after the wrap", 0xFFFFFF00u, kWhile, false, true},
      {"tmp took a line since", 1000, 1001, true, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    krx::DayFolderChoice choice;
    EXPECT_TRUE(choice.TryTmp(row.refusedAt));
    choice.Refused(row.refusedAt);
    if (row.tookSince) choice.Took();
    EXPECT_EQ(choice.TryTmp(row.now), row.tryTmp);
  }
}
