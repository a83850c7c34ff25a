#include "core/day_file_merge.h"

#include <cstring>
#include <functional>

namespace krx {

size_t FindCrLf(std::string_view text, size_t from, LeadBytePredicate isLead) {
  if (!isLead) {
    // Every byte starts a character: let memchr find the candidates.
    while (from + 1 < text.size()) {
      const void* cr = std::memchr(text.data() + from, '\r', text.size() - 1 - from);
      if (!cr) break;
      size_t i = size_t(static_cast<const char*>(cr) - text.data());
      if (text[i + 1] == '\n') return i;
      from = i + 1;
    }
    return std::string_view::npos;
  }
  size_t i = from;
  while (i + 1 < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '\r' && text[i + 1] == '\n') return i;
    // A lead byte and its trail byte are one character.
    i += isLead(c) ? 2 : 1;
  }
  return std::string_view::npos;
}

uint64_t DayFileFingerprint(std::string_view bytes, uint64_t seed) {
  uint64_t h = seed;
  for (unsigned char c : bytes) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

size_t StringIndex::Hash(std::string_view s) { return std::hash<std::string_view>()(s); }

void StringIndex::Rebuild(const StringArray& strings) {
  size_t capacity = 16;
  while (capacity < strings.size() * 2) capacity *= 2;
  slots_.assign(capacity, Slot{0, 0});
  used_ = 0;
  indexed_ = 0;
  for (size_t i = 0; i < strings.size(); ++i) Add(strings, i, Hash(strings[i]));
}

size_t StringIndex::Find(const StringArray& strings, std::string_view s, uint32_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t pos = hash & mask;; pos = (pos + 1) & mask) {
    const Slot& slot = slots_[pos];
    if (slot.indexPlusOne == 0) return pos;
    if (slot.hash == hash && strings[slot.indexPlusOne - 1] == s) return pos;
  }
}

bool StringIndex::Contains(const StringArray& strings, std::string_view s, size_t hash) const {
  if (slots_.empty()) return false;
  return slots_[Find(strings, s, uint32_t(hash))].indexPlusOne != 0;
}

void StringIndex::Add(const StringArray& strings, size_t i, size_t fullHash) {
  indexed_ = i + 1;
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  const uint32_t hash = uint32_t(fullHash);
  size_t pos = Find(strings, strings[i], hash);
  // A duplicate inside the array (the lists allow them) needs no second entry.
  if (slots_[pos].indexPlusOne != 0) return;
  slots_[pos] = Slot{hash, uint32_t(i + 1)};
  ++used_;
}

void StringIndex::Insert(uint32_t hash, uint32_t indexPlusOne) {
  const size_t mask = slots_.size() - 1;
  size_t pos = hash & mask;
  while (slots_[pos].indexPlusOne != 0) pos = (pos + 1) & mask;
  slots_[pos] = Slot{hash, indexPlusOne};
}

void StringIndex::Grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  slots_.assign(old.empty() ? 16 : old.size() * 2, Slot{0, 0});
  for (const Slot& slot : old) {
    if (slot.indexPlusOne != 0) Insert(slot.hash, slot.indexPlusOne);
  }
}

void MergeTarget::EnsureIndex() {
  const StringArray& r = *records_;
  bool inStep = valid_ && index_.indexedCount() == r.size() &&
                (r.empty() || StringIndex::Hash(r.back()) == lastHash_);
  if (!inStep) {
    index_.Rebuild(r);
    lastHash_ = r.empty() ? 0 : StringIndex::Hash(r.back());
    valid_ = true;
  }
}

bool MergeTarget::AppendIndexed(std::string_view line) {
  if (line.empty()) return false;
  size_t hash = StringIndex::Hash(line);
  if (index_.Contains(*records_, line, hash)) return false;
  records_->emplace_back(line);
  index_.Add(*records_, records_->size() - 1, hash);
  lastHash_ = hash;
  return true;
}

bool MergeTarget::AppendDayFileLine(std::string_view line, size_t* leftOut) {
  if (line.empty()) return false;
  if (!IsRecordText(line)) {
    if (leftOut) ++*leftOut;
    return false;
  }
  return AppendIndexed(line);
}

bool MergeTarget::AppendIfAbsent(std::string_view line) {
  EnsureIndex();
  return AppendIndexed(line);
}

size_t MergeTarget::MergeDayText(std::string_view text, LeadBytePredicate isLead, size_t* leftOut) {
  EnsureIndex();
  size_t added = 0;
  ForEachDayFileLine(text, isLead, [&](std::string_view line) {
    if (AppendDayFileLine(line, leftOut)) ++added;
  });
  return added;
}

size_t MergeTarget::MergeDayTextAfter(std::string_view text, DayFileReadMark& mark, LeadBytePredicate isLead,
                                      size_t* leftOut) {
  EnsureIndex();
  // Only a file that still starts with the bytes read last time continues
  // where that reading stopped.
  size_t from = 0, takenTail = 0;
  bool continues = false;
  uint64_t fingerprint = kFingerprintSeed;
  if (mark.size <= text.size()) {
    fingerprint = DayFileFingerprint(text.substr(0, size_t(mark.size)));
    continues = fingerprint == mark.fingerprint;
  }
  if (continues) {
    from = size_t(mark.lastLineStart);
    takenTail = size_t(mark.size - mark.lastLineStart);
    fingerprint = DayFileFingerprint(text.substr(size_t(mark.size)), fingerprint);
  } else {
    fingerprint = DayFileFingerprint(text);
  }
  size_t added = 0;
  size_t lastLineStart = text.size();
  bool first = true;
  ForEachDayFileLine(text.substr(from), isLead, [&](std::string_view line) {
    const size_t start = size_t(line.data() - text.data());
    // The line that ran to the end last time comes first; unchanged, it is in.
    const bool taken = first && takenTail != 0 && line.size() == takenTail;
    first = false;
    if (!taken && AppendDayFileLine(line, leftOut)) ++added;
    lastLineStart = start + line.size() == text.size() ? start : text.size();
  });
  mark.size = text.size();
  mark.lastLineStart = lastLineStart;
  mark.fingerprint = fingerprint;
  return added;
}

size_t MergeTarget::MergeTextLines(std::string_view text) {
  EnsureIndex();
  size_t added = 0;
  while (!text.empty()) {
    const void* lf = std::memchr(text.data(), '\n', text.size());
    size_t end = lf ? size_t(static_cast<const char*>(lf) - text.data()) : text.size();
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (AppendIndexed(line)) ++added;
    text.remove_prefix(lf ? end + 1 : end);
  }
  return added;
}

}  // namespace krx
