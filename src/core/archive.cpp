#include "core/archive.h"

#include <cstring>

namespace krx {
namespace {
constexpr size_t kBufferSize = 64 * 1024;
constexpr uint64_t kLargestLength = 0x7FFFFFFF;
}  // namespace

size_t MemorySource::ReadSome(char* dst, size_t n) {
  size_t take = n < size_ - pos_ ? n : size_ - pos_;
  std::memcpy(dst, data_ + pos_, take);
  pos_ += take;
  return take;
}

std::string Utf16ToUtf8(const std::u16string& wide) {
  std::string out;
  for (size_t i = 0; i < wide.size(); ++i) {
    uint32_t c = wide[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 && wide[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = '?';  // a lone surrogate has no character to stand for
    }
    if (c < 0x80) {
      out.push_back(char(c));
    } else if (c < 0x800) {
      out.push_back(char(0xC0 | c >> 6));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(char(0xE0 | c >> 12));
      out.push_back(char(0x80 | (c >> 6 & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    } else {
      out.push_back(char(0xF0 | c >> 18));
      out.push_back(char(0x80 | (c >> 12 & 0x3F)));
      out.push_back(char(0x80 | (c >> 6 & 0x3F)));
      out.push_back(char(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

ArchiveReader::ArchiveReader(ByteSource& source, WideConverter convert)
    : source_(source), convert_(convert), buffer_(new char[kBufferSize]) {
  pos_ = end_ = buffer_.get();
}

bool ArchiveReader::ReadBytes(char* dst, size_t n) {
  if (failed_) return false;
  size_t have = size_t(end_ - pos_);
  if (n <= have) {
    std::memcpy(dst, pos_, n);
    pos_ += n;
    return true;
  }
  std::memcpy(dst, pos_, have);
  dst += have;
  n -= have;
  pos_ = end_ = buffer_.get();
  if (n >= kBufferSize) {
    // Large fields go straight to their destination.
    while (n > 0) {
      size_t got = source_.ReadSome(dst, n);
      if (got == 0) return Fail();
      dst += got;
      n -= got;
    }
    return true;
  }
  while (n > 0) {
    size_t got = source_.ReadSome(buffer_.get(), kBufferSize);
    if (got == 0) return Fail();
    end_ = buffer_.get() + got;
    size_t take = n < got ? n : got;
    std::memcpy(dst, buffer_.get(), take);
    pos_ = buffer_.get() + take;
    dst += take;
    n -= take;
  }
  return true;
}

bool ArchiveReader::ReadU8(uint8_t& v) { return ReadBytes(reinterpret_cast<char*>(&v), 1); }

bool ArchiveReader::ReadU16(uint16_t& v) {
  uint8_t b[2];
  if (!ReadBytes(reinterpret_cast<char*>(b), 2)) return false;
  v = uint16_t(b[0] | b[1] << 8);
  return true;
}

bool ArchiveReader::ReadU32(uint32_t& v) {
  uint8_t b[4];
  if (!ReadBytes(reinterpret_cast<char*>(b), 4)) return false;
  v = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  return true;
}

bool ArchiveReader::ReadU64(uint64_t& v) {
  uint32_t lo, hi;
  if (!ReadU32(lo) || !ReadU32(hi)) return false;
  v = uint64_t(hi) << 32 | lo;
  return true;
}

bool ArchiveReader::ReadCount(uint32_t& n) {
  uint16_t w;
  if (!ReadU16(w)) return false;
  if (w != 0xFFFF) {
    n = w;
    return true;
  }
  return ReadU32(n);
}

// 1 byte below 255; FF and 2 bytes below 0xFFFF (0xFFFE marks the wide form
// once); FF FF FF and 4 bytes below 0xFFFFFFFF; else 8 bytes.
bool ArchiveReader::ReadStringLength(uint64_t& length, bool& wide) {
  wide = false;
  uint8_t b;
  if (!ReadU8(b)) return false;
  if (b < 0xFF) {
    length = b;
    return true;
  }
  uint16_t w;
  if (!ReadU16(w)) return false;
  if (w == 0xFFFE) {
    wide = true;
    if (!ReadU8(b)) return false;
    if (b < 0xFF) {
      length = b;
      return true;
    }
    if (!ReadU16(w)) return false;
  }
  if (w < 0xFFFF) {
    length = w;
    return true;
  }
  uint32_t d;
  if (!ReadU32(d)) return false;
  if (d < 0xFFFFFFFF) {
    length = d;
    return true;
  }
  uint64_t q;
  if (!ReadU64(q)) return false;
  if (q > kLargestLength) return Fail();
  length = q;
  return true;
}

bool ArchiveReader::ReadCountedString(std::string& s) {
  // Nearly every record is a short narrow string lying whole in the buffer.
  if (!failed_ && pos_ < end_) {
    uint8_t b = uint8_t(*pos_);
    if (b < 0xFF && size_t(end_ - pos_) > b) {
      s.assign(pos_ + 1, b);
      pos_ += 1 + b;
      return true;
    }
  }
  uint64_t length;
  bool wide;
  if (!ReadStringLength(length, wide)) return false;
  uint64_t bytes = wide ? length * 2 : length;
  // A length beyond what the file still holds is damage, not a reason to allocate.
  if (bytes > Remaining()) return Fail();
  if (!wide) {
    s.resize(size_t(length));
    return length == 0 || ReadBytes(&s[0], size_t(length));
  }
  std::string raw(size_t(bytes), '\0');
  if (bytes && !ReadBytes(&raw[0], size_t(bytes))) return false;
  std::u16string w(size_t(length), u'\0');
  for (size_t i = 0; i < w.size(); ++i) {
    w[i] = char16_t(uint8_t(raw[2 * i]) | uint8_t(raw[2 * i + 1]) << 8);
  }
  s = convert_(w);
  return true;
}

ArchiveWriter::ArchiveWriter(ByteSink& sink) : sink_(sink), buffer_(new char[kBufferSize]) {}

ArchiveWriter::~ArchiveWriter() = default;

void ArchiveWriter::WriteBytes(const char* data, size_t n) {
  if (n <= kBufferSize - used_) {
    std::memcpy(buffer_.get() + used_, data, n);
    used_ += n;
    return;
  }
  Flush();
  if (n >= kBufferSize) {
    if (!failed_ && !sink_.Write(data, n)) failed_ = true;
    return;
  }
  std::memcpy(buffer_.get(), data, n);
  used_ = n;
}

void ArchiveWriter::WriteU16(uint16_t v) {
  char b[2] = {char(v), char(v >> 8)};
  WriteBytes(b, 2);
}

void ArchiveWriter::WriteU32(uint32_t v) {
  char b[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
  WriteBytes(b, 4);
}

void ArchiveWriter::WriteU64(uint64_t v) {
  WriteU32(uint32_t(v));
  WriteU32(uint32_t(v >> 32));
}

void ArchiveWriter::WriteCountedString(const std::string& s) {
  uint64_t n = s.size();
  if (n < 0xFF) {
    WriteU8(uint8_t(n));
  } else {
    WriteU8(0xFF);
    if (n < 0xFFFE) {  // 0xFFFE would read back as the wide-form mark
      WriteU16(uint16_t(n));
    } else {
      WriteU16(0xFFFF);
      if (n < 0xFFFFFFFF) {
        WriteU32(uint32_t(n));
      } else {
        WriteU32(0xFFFFFFFF);
        WriteU64(n);
      }
    }
  }
  WriteBytes(s.data(), s.size());
}

void ArchiveWriter::WriteCount(uint32_t n) {
  if (n < 0xFFFF) {
    WriteU16(uint16_t(n));
  } else {
    WriteU16(0xFFFF);
    WriteU32(n);
  }
}

bool ArchiveWriter::Flush() {
  if (used_ && !failed_ && !sink_.Write(buffer_.get(), used_)) failed_ = true;
  used_ = 0;
  return !failed_;
}

}  // namespace krx
