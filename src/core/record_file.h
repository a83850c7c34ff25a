#pragma once
// One record file: the password stamp, the record count and the records,
// in the archive layout. Reading never trusts the declared sizes beyond what
// the file can hold.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive.h"

namespace krx {

using StringArray = std::vector<std::string>;

// The six collections in the order their files are loaded and saved.
enum RecordCollection { kVisitRecords, kMediaRecords, kBlockRecords, kFlashRecords, kWhiteList, kForbiddenList };
constexpr int kRecordCollectionCount = 6;
extern const std::array<const char*, kRecordCollectionCount> kRecordFileNames;
// What the exports and the statistics call each collection ("Visit log").
inline constexpr std::array<const char*, kRecordCollectionCount> kRecordNames = {
    "Visit log", "Media log", "Block log", "Flash log", "White list", "Forbidden list"};
// The collection whose record file a path names ("C:\\K\\User\\BLOCK.LOG":
// the block log), in any case; -1 for any other file.
int RecordCollectionOfFile(std::string_view path);
// The view selector's command id for each collection.
extern const std::array<int, kRecordCollectionCount> kRecordViewIds;

struct RecordCollections {
  std::array<StringArray, kRecordCollectionCount> lists;
  // Files not loaded whole: there but unreadable, or not read at all (a
  // read that threw, a start that has not come to them yet). A save over
  // one would put part of a log, or none, in place of all of it.
  std::array<bool, kRecordCollectionCount> unreadable{};
  StringArray& operator[](RecordCollection c) { return lists[c]; }
  const StringArray& operator[](RecordCollection c) const { return lists[c]; }
};

enum class RecordFileStatus {
  kLoaded,         // stamp matched, every declared record read
  kStampMismatch,  // another password's file (or a stamp that is not whole cipher blocks)
  kDamaged,        // ends early or declares impossible sizes; records read whole are kept
};

struct RecordFileRead {
  RecordFileStatus status = RecordFileStatus::kDamaged;
  std::string stamp;   // raw stamp bytes as stored
  StringArray records;
};

// Reads a record file for `password`. On a mismatch nothing after the stamp is read.
RecordFileRead ReadRecordFile(ByteSource& source, const std::string& password,
                              WideConverter convert = &Utf16ToUtf8);

// Reads the stamp and the records whatever the stamp says (re-stamping needs
// this). status is kLoaded or kDamaged.
RecordFileRead ReadRecordFileAnyStamp(ByteSource& source, WideConverter convert = &Utf16ToUtf8);

// A log's records that cannot be records (IsRecordText) are a sign of
// damage inside its file: removes them, keeping the others in order, and
// returns how many went. (A character changed inside a record cannot be
// seen: the format has no check.)
size_t RemoveRecordsThatAreNoRecords(StringArray& records);

// Writes stamp, count and records. False when the sink failed.
bool WriteRecordFile(ByteSink& sink, const std::string& stamp, const StringArray& records);

}  // namespace krx
