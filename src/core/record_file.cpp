#include "core/record_file.h"

#include <algorithm>

#include "core/ascii_case.h"
#include "core/record_cipher.h"
#include "core/record_text.h"

namespace krx {

const std::array<const char*, kRecordCollectionCount> kRecordFileNames = {
    "visit.log", "media.log", "block.log", "flash.log", "white.log", "forbid.log"};
const std::array<int, kRecordCollectionCount> kRecordViewIds = {179, 185, 180, 181, 182, 183};

int RecordCollectionOfFile(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  for (int c = 0; c < kRecordCollectionCount; ++c) {
    if (EqualNoCaseAscii(name, kRecordFileNames[size_t(c)])) return c;
  }
  return -1;
}

namespace {

bool ReadRecords(ArchiveReader& in, StringArray& records) {
  uint32_t count;
  if (!in.ReadCount(count)) return false;
  // The count is only a promise: reserve no more slots than records of an
  // ordinary size could fill, so a damaged count never costs more memory
  // than the file itself. Files of very short records just grow as they read.
  uint64_t plausible = in.Remaining() / 32;
  records.reserve(size_t(count < plausible ? count : plausible));
  for (uint32_t i = 0; i < count; ++i) {
    std::string s;
    if (!in.ReadCountedString(s)) return false;
    records.push_back(std::move(s));
  }
  return true;
}

}  // namespace

RecordFileRead ReadRecordFile(ByteSource& source, const std::string& password, WideConverter convert) {
  RecordFileRead result;
  ArchiveReader in(source, convert);
  if (!in.ReadCountedString(result.stamp)) return result;
  if (!SealedMatches(result.stamp, password)) {
    result.status = RecordFileStatus::kStampMismatch;
    return result;
  }
  result.status = ReadRecords(in, result.records) ? RecordFileStatus::kLoaded : RecordFileStatus::kDamaged;
  return result;
}

RecordFileRead ReadRecordFileAnyStamp(ByteSource& source, WideConverter convert) {
  RecordFileRead result;
  ArchiveReader in(source, convert);
  if (!in.ReadCountedString(result.stamp)) return result;
  result.status = ReadRecords(in, result.records) ? RecordFileStatus::kLoaded : RecordFileStatus::kDamaged;
  return result;
}

size_t RemoveRecordsThatAreNoRecords(StringArray& records) {
  const auto kept = std::remove_if(records.begin(), records.end(), [](const std::string& r) { return !IsRecordText(r); });
  const size_t removed = size_t(records.end() - kept);
  records.erase(kept, records.end());
  return removed;
}

bool WriteRecordFile(ByteSink& sink, const std::string& stamp, const StringArray& records) {
  ArchiveWriter out(sink);
  out.WriteCountedString(stamp);
  out.WriteCount(uint32_t(records.size()));
  for (const std::string& r : records) out.WriteCountedString(r);
  return out.Flush();
}

}  // namespace krx
