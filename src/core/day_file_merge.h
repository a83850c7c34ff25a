#pragma once
// Merging the add-on's day files into the log collections. A day file is
// text with records separated by CR LF; every line that its collection does
// not hold yet is appended, in file order. Users keep years of logs, so the
// "already present?" question is answered by a hash index kept beside the
// collection instead of a scan through it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/record_file.h"
#include "core/record_text.h"

namespace krx {

// True for the first byte of a double-byte character in the system code
// page. The Windows side passes the system's rule; nullptr means a code page
// without lead bytes.
using LeadBytePredicate = bool (*)(unsigned char byte);

// Offset of the first CR LF at or after `from`, walking whole characters
// from `from` on, so the trail byte of a double-byte character never starts
// a match. npos when there is none.
size_t FindCrLf(std::string_view text, size_t from, LeadBytePredicate isLead = nullptr);

// Calls onLine for each line of a day file's text as the merge cuts it. The
// search for CR LF starts at the third byte of what is left, so an empty or
// one-byte line is joined to the line after it (its CR LF stays inside).
template <typename OnLine>
void ForEachDayFileLine(std::string_view text, LeadBytePredicate isLead, OnLine onLine) {
  while (!text.empty()) {
    size_t end = text.size() >= 2 ? FindCrLf(text, 2, isLead) : std::string_view::npos;
    if (end == std::string_view::npos) {
      onLine(text);
      return;
    }
    onLine(text.substr(0, end));
    text.remove_prefix(end + 2);
  }
}

// How far one day file has been taken in. The add-on only ever appends to a
// day file, so a merge that finds the bytes it read last time unchanged cuts
// and merges only what follows them: a line the user deleted since it came
// in is never read again while its file lives. A file that shrank, or was
// rewritten or re-created under the same name, no longer starts with those
// bytes and is read from its start.
struct DayFileReadMark {
  uint64_t size = 0;           // bytes taken in
  uint64_t lastLineStart = 0;  // where the last line began when it ran to the end without CR LF; else size
  uint64_t fingerprint = 0;    // DayFileFingerprint of those bytes
};

// A day file that held lines IsRecordText refused, by name.
struct DayFileLeftOut {
  std::string file;
  size_t lines = 0;
};

// FNV-1a over bytes, continuing from seed: a fingerprint of a prefix can be
// carried on over the rest of the file.
constexpr uint64_t kFingerprintSeed = 14695981039346656037ull;
uint64_t DayFileFingerprint(std::string_view bytes, uint64_t seed = kFingerprintSeed);

// A set of strings that answers membership in O(1). It stores indexes into a
// string array it does not own, so the array may grow (and move its strings)
// freely; only appends through the owner keep it in step.
class StringIndex {
 public:
  // Forgets everything and indexes every element of strings.
  void Rebuild(const StringArray& strings);
  // hash is Hash(s); callers that test and then add pass it to both.
  bool Contains(const StringArray& strings, std::string_view s, size_t hash) const;
  // Records that strings[i] was just appended (i == strings.size() - 1).
  void Add(const StringArray& strings, size_t i, size_t hash);
  size_t indexedCount() const { return indexed_; }
  static size_t Hash(std::string_view s);

 private:
  struct Slot {
    uint32_t hash;
    uint32_t indexPlusOne;  // 0: empty slot
  };
  size_t Find(const StringArray& strings, std::string_view s, uint32_t hash) const;
  void Insert(uint32_t hash, uint32_t index);
  void Grow();

  std::vector<Slot> slots_;
  size_t used_ = 0;
  size_t indexed_ = 0;  // how many elements of the array have been seen
};

// One log collection with its index, as the manager keeps it between merges.
// The collection stays a plain array for everyone else: when it was changed
// other than through Append (records removed, reloaded), the index notices
// that its size or last record no longer agree and rebuilds itself; callers
// that rewrite records in place call Invalidate.
class MergeTarget {
 public:
  explicit MergeTarget(StringArray& records) : records_(&records) {}
  MergeTarget(const MergeTarget&) = delete;
  MergeTarget& operator=(const MergeTarget&) = delete;

  // Appends line unless the collection already holds it; true when appended.
  // Empty lines are never appended.
  bool AppendIfAbsent(std::string_view line);
  // Splits a day file's text and appends its new lines. Returns how many.
  // Lines that are no records (IsRecordText) are left out, and counted
  // in *leftOut when it is given.
  size_t MergeDayText(std::string_view text, LeadBytePredicate isLead = nullptr, size_t* leftOut = nullptr);
  // The same for a day file read before: only the lines after mark (the
  // file's whole text now), then mark covers the whole text. A last line
  // that had no CR LF yet and is still the same line is not merged again;
  // one that has grown since is a new line.
  size_t MergeDayTextAfter(std::string_view text, DayFileReadMark& mark, LeadBytePredicate isLead = nullptr,
                           size_t* leftOut = nullptr);
  // Text as people and other programs write it: lines end at LF, a CR
  // before it is dropped, empty lines are skipped. LF and CR are never the
  // trail byte of a double-byte character, so no lead-byte rule is needed.
  // Returns how many lines were appended.
  size_t MergeTextLines(std::string_view text);
  void Invalidate() { valid_ = false; }
  const StringArray& records() const { return *records_; }

 private:
  void EnsureIndex();
  bool AppendIndexed(std::string_view line);
  bool AppendDayFileLine(std::string_view line, size_t* leftOut);

  StringArray* records_;
  StringIndex index_;
  bool valid_ = false;
  size_t lastHash_ = 0;  // hash of the last indexed record, to spot replaced contents
};

}  // namespace krx
