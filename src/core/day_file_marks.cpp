#include "core/day_file_marks.h"

namespace krx {

const char kDayFileMarksName[] = "dayfiles.mrk";

namespace {

constexpr char kMagic[4] = {'K', 'R', 'X', 'M'};
constexpr uint32_t kVersion = 1;
constexpr size_t kMaxName = 255;

void PutLittle(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}

bool Writable(const std::string& name) {
  return !name.empty() && name.size() <= kMaxName && name.find_first_of(std::string("\\/:\0", 4)) == std::string::npos;
}

class Reader {
 public:
  explicit Reader(std::string_view bytes) : bytes_(bytes) {}
  bool Take(int n, uint64_t& value) {
    if (bytes_.size() - at_ < size_t(n)) return false;
    value = 0;
    for (int i = 0; i < n; ++i) value |= uint64_t(static_cast<unsigned char>(bytes_[at_ + size_t(i)])) << (8 * i);
    at_ += size_t(n);
    return true;
  }
  bool Text(size_t n, std::string_view& text) {
    if (bytes_.size() - at_ < n) return false;
    text = bytes_.substr(at_, n);
    at_ += n;
    return true;
  }
  size_t at() const { return at_; }

 private:
  std::string_view bytes_;
  size_t at_ = 0;
};

bool ParseWhole(std::string_view bytes, DayFileMarks& marks) {
  Reader in(bytes);
  std::string_view magic;
  uint64_t version = 0, count = 0;
  if (!in.Text(4, magic) || magic != std::string_view(kMagic, 4) || !in.Take(4, version) || version != kVersion ||
      !in.Take(4, count)) {
    return false;
  }
  // Each entry takes at least 27 bytes: a count the file cannot hold is damage.
  if (count > bytes.size() / 27) return false;
  std::string previous;
  for (uint64_t i = 0; i < count; ++i) {
    uint64_t length = 0;
    std::string_view name;
    DayFileReadMark mark;
    if (!in.Take(2, length) || !in.Text(size_t(length), name) || !in.Take(8, mark.size) ||
        !in.Take(8, mark.lastLineStart) || !in.Take(8, mark.fingerprint)) {
      return false;
    }
    std::string key(name);
    if (!Writable(key) || (i > 0 && key <= previous) || mark.lastLineStart > mark.size) return false;
    marks.emplace_hint(marks.end(), key, mark);
    previous = std::move(key);
  }
  const size_t checked = in.at();
  uint64_t check = 0;
  return in.Take(8, check) && in.at() == bytes.size() && check == DayFileFingerprint(bytes.substr(0, checked));
}

}  // namespace

std::string SerializeDayFileMarks(const DayFileMarks& marks) {
  std::string out(kMagic, 4);
  PutLittle(out, kVersion, 4);
  const size_t countAt = out.size();
  PutLittle(out, 0, 4);
  uint32_t count = 0;
  for (const auto& [name, mark] : marks) {  // a map walks its names in ascending byte order
    if (!Writable(name)) continue;
    PutLittle(out, name.size(), 2);
    out += name;
    PutLittle(out, mark.size, 8);
    PutLittle(out, mark.lastLineStart, 8);
    PutLittle(out, mark.fingerprint, 8);
    ++count;
  }
  for (int i = 0; i < 4; ++i) out[countAt + size_t(i)] = char((count >> (8 * i)) & 0xFF);
  PutLittle(out, DayFileFingerprint(out), 8);
  return out;
}

bool ParseDayFileMarks(std::string_view bytes, DayFileMarks& marks) {
  marks.clear();
  if (ParseWhole(bytes, marks)) return true;
  marks.clear();
  return false;
}

}  // namespace krx
