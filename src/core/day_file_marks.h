#pragma once
// The day files' reading marks as they outlive a run, in the user folder
// beside the record files (dayfiles.mrk). A close that keeps a day file the
// add-on wrote to during the save leaves the marks of what was merged; the
// next start continues the file where they stop, so a line the user deleted
// never comes back.
//
// Layout (integers little-endian):
//   "KRXM"                        4 bytes
//   version                       u32, 1
//   count                         u32
//   count entries, names in ascending byte order, no two alike:
//     name length                 u16, 1..255
//     name                        the day file's name in the tmp folder (no folder part)
//     size, lastLineStart         u64 each (lastLineStart <= size)
//     fingerprint                 u64
//   check                         u64, DayFileFingerprint of every byte before it
//
// Anything else (short, long, damaged, another version) reads as no marks:
// the day files are then read whole, which may bring back a deleted line
// but never loses one.
#include <map>
#include <string>
#include <string_view>

#include "core/day_file_merge.h"

namespace krx {

extern const char kDayFileMarksName[];  // "dayfiles.mrk"

using DayFileMarks = std::map<std::string, DayFileReadMark>;  // by file name

// Names that cannot be written (empty, over 255 bytes, holding a folder
// separator or NUL) are left out.
std::string SerializeDayFileMarks(const DayFileMarks& marks);

// False, with marks empty, for bytes that are not a whole marks file.
bool ParseDayFileMarks(std::string_view bytes, DayFileMarks& marks);

}  // namespace krx
