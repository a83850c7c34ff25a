#include "core/day_file_marks.h"

#include "core/archive.h"

namespace krx {

const char kDayFileMarksName[] = "dayfiles.mrk";

namespace {

constexpr char kMagic[4] = {'K', 'R', 'X', 'M'};
constexpr uint32_t kVersion = 1;
constexpr size_t kMaxName = 255;

bool Writable(const std::string& name) {
  return !name.empty() && name.size() <= kMaxName && name.find_first_of(std::string("\\/:\0", 4)) == std::string::npos;
}

bool ParseWhole(std::string_view bytes, DayFileMarks& marks) {
  MemorySource source(bytes.data(), bytes.size());
  ArchiveReader in(source);
  char magic[4];
  uint32_t version = 0, count = 0;
  if (!in.ReadBytes(magic, 4) || std::string_view(magic, 4) != std::string_view(kMagic, 4) || !in.ReadU32(version) ||
      version != kVersion || !in.ReadU32(count)) {
    return false;
  }
  // Each entry takes at least 27 bytes: a count the file cannot hold is damage.
  if (count > bytes.size() / 27) return false;
  std::string previous;
  for (uint32_t i = 0; i < count; ++i) {
    uint16_t length = 0;
    std::string name;
    DayFileReadMark mark;
    if (!in.ReadU16(length)) return false;
    name.resize(length);
    if (!in.ReadBytes(&name[0], length) || !in.ReadU64(mark.size) || !in.ReadU64(mark.lastLineStart) ||
        !in.ReadU64(mark.fingerprint)) {
      return false;
    }
    if (!Writable(name) || (i > 0 && name <= previous) || mark.lastLineStart > mark.size) return false;
    marks.emplace_hint(marks.end(), name, mark);
    previous = std::move(name);
  }
  const size_t checked = bytes.size() - size_t(in.Remaining());
  uint64_t check = 0;
  return in.ReadU64(check) && in.Remaining() == 0 && check == DayFileFingerprint(bytes.substr(0, checked));
}

}  // namespace

std::string SerializeDayFileMarks(const DayFileMarks& marks) {
  uint32_t count = 0;
  for (const auto& entry : marks) count += Writable(entry.first) ? 1 : 0;
  StringSink sink;
  ArchiveWriter out(sink);
  out.WriteBytes(kMagic, 4);
  out.WriteU32(kVersion);
  out.WriteU32(count);
  for (const auto& [name, mark] : marks) {  // a map walks its names in ascending byte order
    if (!Writable(name)) continue;
    out.WriteU16(uint16_t(name.size()));
    out.WriteBytes(name.data(), name.size());
    out.WriteU64(mark.size);
    out.WriteU64(mark.lastLineStart);
    out.WriteU64(mark.fingerprint);
  }
  out.Flush();
  out.WriteU64(DayFileFingerprint(sink.bytes));
  out.Flush();
  return sink.bytes;
}

bool ParseDayFileMarks(std::string_view bytes, DayFileMarks& marks) {
  marks.clear();
  if (ParseWhole(bytes, marks)) return true;
  marks.clear();
  return false;
}

}  // namespace krx
