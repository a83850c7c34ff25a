// The record file's bytes: worked layouts, length and count prefixes, the
// stamp, and what a damaged or foreign file does to a load.
#include <gtest/gtest.h>

#include "core/archive.h"
#include "core/record_cipher.h"
#include "core/record_file.h"
#include "support/test_support.h"

using krx_test::Bytes;
using krx_test::Hex;

namespace {

std::string FileBytes(const std::string& password, const krx::StringArray& records) {
  krx::StringSink sink;
  EXPECT_TRUE(krx::WriteRecordFile(sink, krx::SealedCopy(password), records));
  return sink.bytes;
}

krx::RecordFileRead Load(const std::string& bytes, const std::string& password) {
  krx::MemorySource source(bytes);
  return krx::ReadRecordFile(source, password);
}

std::string CountedPrefix(size_t length) {
  krx::StringSink sink;
  {
    krx::ArchiveWriter w(sink);
    w.WriteCountedString(std::string(length, 'x'));
    w.Flush();
  }
  return sink.bytes.substr(0, sink.bytes.size() - length);
}

std::string CountField(uint32_t n) {
  krx::StringSink sink;
  krx::ArchiveWriter w(sink);
  w.WriteCount(n);
  w.Flush();
  return sink.bytes;
}

TEST(RecordFileLayout, WorkedExamples) {
  std::string empty = FileBytes("", {});
  ASSERT_EQ(empty.size(), 11u);
  EXPECT_EQ(Hex(empty), Hex(Bytes("08") + krx::SealedCopy("") + Bytes("00 00")));

  std::string one = FileBytes("abcde", {"ab"});
  EXPECT_EQ(Hex(one), Hex(Bytes("08") + krx::SealedCopy("abcde") + Bytes("01 00 02 61 62")));

  std::string nine = FileBytes("123456789", {});
  EXPECT_EQ(uint8_t(nine[0]), 0x10);
  EXPECT_EQ(nine.size(), 1u + 16 + 2);
}

TEST(RecordFileLayout, StringLengthPrefixes) {
  EXPECT_EQ(Hex(CountedPrefix(0)), "00");
  EXPECT_EQ(Hex(CountedPrefix(254)), "FE");
  EXPECT_EQ(Hex(CountedPrefix(255)), "FF FF 00");
  EXPECT_EQ(Hex(CountedPrefix(65533)), "FF FD FF");
  // 0xFFFE in the 2-byte form would mark a wide string.
  EXPECT_EQ(Hex(CountedPrefix(65534)), "FF FF FF FE FF 00 00");
  EXPECT_EQ(Hex(CountedPrefix(70000)), "FF FF FF 70 11 01 00");
}

TEST(RecordFileLayout, RecordCountField) {
  EXPECT_EQ(Hex(CountField(0)), "00 00");
  EXPECT_EQ(Hex(CountField(65534)), "FE FF");
  EXPECT_EQ(Hex(CountField(65535)), "FF FF FF FF 00 00");
  EXPECT_EQ(Hex(CountField(70000)), "FF FF 70 11 01 00");
}

TEST(RecordFileRoundTrip, LongRecordsAndLargeCountsReadBack) {
  krx::StringArray records = {std::string(254, 'a'), std::string(255, 'b'), std::string(65533, 'c'),
                              std::string(65534, 'd'), std::string(70000, 'e'), std::string("\0\xff\r\n", 4), ""};
  krx::RecordFileRead r = Load(FileBytes("pw", records), "pw");
  EXPECT_EQ(r.status, krx::RecordFileStatus::kLoaded);
  EXPECT_EQ(r.records, records);

  for (size_t n : {65534u, 65535u}) {
    krx::StringArray many(n);
    for (size_t i = 0; i < n; ++i) many[i] = std::to_string(i);
    krx::RecordFileRead back = Load(FileBytes("", many), "");
    EXPECT_EQ(back.status, krx::RecordFileStatus::kLoaded);
    EXPECT_EQ(back.records, many);
  }
}

TEST(RecordFileStamp, PasswordsThatNeedCare) {
  // A stamp whose cipher bytes hold 0x00 must be read whole.
  std::string password;
  for (int i = 0; i < 100000 && password.empty(); ++i) {
    std::string candidate = "p" + std::to_string(i);
    if (krx::SealedCopy(candidate).find('\0') != std::string::npos) password = candidate;
  }
  ASSERT_FALSE(password.empty());
  EXPECT_EQ(Load(FileBytes(password, {"x"}), password).records, krx::StringArray{"x"});

  EXPECT_EQ(Load(FileBytes("seven77", {"x"}), "seven77").status, krx::RecordFileStatus::kLoaded);
  EXPECT_EQ(Load(FileBytes(std::string(32, 'z'), {"x"}), std::string(32, 'z')).status, krx::RecordFileStatus::kLoaded);
}

TEST(RecordFileStamp, AnotherPasswordsFileStaysUnloaded) {
  krx::RecordFileRead r = Load(FileBytes("A", {"one", "two"}), "B");
  EXPECT_EQ(r.status, krx::RecordFileStatus::kStampMismatch);
  EXPECT_TRUE(r.records.empty());
}

TEST(RecordFileStamp, StampNotWholeBlocksIsAParameterErrorAndAMismatch) {
  krx_test::ParameterErrorCounter errors;
  std::string bytes = Bytes("05 01 02 03 04 05 00 00");
  EXPECT_EQ(Load(bytes, "").status, krx::RecordFileStatus::kStampMismatch);
  EXPECT_EQ(errors.count(), 1);
}

TEST(RecordFileDamage, TrailingBytesAreIgnored) {
  krx::RecordFileRead r = Load(FileBytes("pw", {"a", "b"}) + "garbage after the end", "pw");
  EXPECT_EQ(r.status, krx::RecordFileStatus::kLoaded);
  EXPECT_EQ(r.records, (krx::StringArray{"a", "b"}));
}

TEST(RecordFileDamage, EveryTruncationKeepsTheWholeRecordsOnly) {
  krx::StringArray records = {"first", std::string(300, 'm'), "third"};
  std::string full = FileBytes("pw", records);
  for (size_t cut = 0; cut < full.size(); ++cut) {
    krx::RecordFileRead r = Load(full.substr(0, cut), "pw");
    ASSERT_NE(r.status, krx::RecordFileStatus::kLoaded) << cut;
    ASSERT_LE(r.records.size(), records.size());
    for (size_t i = 0; i < r.records.size(); ++i) ASSERT_EQ(r.records[i], records[i]) << cut;
  }
}

TEST(RecordFileDamage, ImpossibleSizesAreRefusedWithoutAllocating) {
  std::string stamp = Bytes("08") + krx::SealedCopy("");
  // A count of four billion records in a file of a few bytes.
  krx::RecordFileRead r = Load(stamp + Bytes("FF FF FE FF FF FF 01 61"), "");
  EXPECT_EQ(r.status, krx::RecordFileStatus::kDamaged);
  EXPECT_EQ(r.records, krx::StringArray{"a"});
  // A 4-byte length far beyond the file.
  r = Load(stamp + Bytes("02 00 01 61 FF FF FF 00 00 00 F0 62"), "");
  EXPECT_EQ(r.status, krx::RecordFileStatus::kDamaged);
  EXPECT_EQ(r.records, krx::StringArray{"a"});
  // An 8-byte length above 0x7FFFFFFF.
  r = Load(stamp + Bytes("01 00 FF FF FF FF FF FF FF 00 00 00 80 00 00 00 00"), "");
  EXPECT_EQ(r.status, krx::RecordFileStatus::kDamaged);
  EXPECT_TRUE(r.records.empty());
  // A damaged stamp length.
  r = Load(Bytes("FF FF FF 00 00 00 40"), "");
  EXPECT_EQ(r.status, krx::RecordFileStatus::kDamaged);
}

TEST(RecordFileWideForm, ReadsUtf16Strings) {
  std::string stamp = Bytes("08") + krx::SealedCopy("");
  // FF FE FF marks a wide string; 2 characters "h", U+00E9.
  std::string bytes = stamp + Bytes("02 00 FF FE FF 02 68 00 E9 00 01 61");
  krx::RecordFileRead r = Load(bytes, "");
  EXPECT_EQ(r.status, krx::RecordFileStatus::kLoaded);
  EXPECT_EQ(r.records, (krx::StringArray{"h\xC3\xA9", "a"}));
  // The wide length uses the same scheme: FF then two bytes.
  std::string longWide = stamp + Bytes("01 00 FF FE FF FF 2C 01");
  for (int i = 0; i < 300; ++i) longWide += Bytes("41 00");
  r = Load(longWide, "");
  EXPECT_EQ(r.records, krx::StringArray{std::string(300, 'A')});
  // An odd byte short of the last character is damage.
  r = Load(stamp + Bytes("01 00 FF FE FF 02 68 00 69"), "");
  EXPECT_EQ(r.status, krx::RecordFileStatus::kDamaged);
}

class FailingSink : public krx::ByteSink {
 public:
  explicit FailingSink(size_t allowed) : allowed_(allowed) {}
  bool Write(const char*, size_t n) override {
    if (n > allowed_) return false;
    allowed_ -= n;
    return true;
  }

 private:
  size_t allowed_;
};

TEST(RecordFileWrite, ASinkThatFillsUpIsReported) {
  krx::StringArray records(2000, std::string(100, 'r'));
  FailingSink sink(100000);
  EXPECT_FALSE(krx::WriteRecordFile(sink, krx::SealedCopy(""), records));
  FailingSink roomy(1u << 20);
  EXPECT_TRUE(krx::WriteRecordFile(roomy, krx::SealedCopy(""), records));
}

}  // namespace
