#pragma once
// Which files of the tmp folder are day files, and which collection each
// kind feeds.
#include <string_view>

#include "core/record_file.h"

namespace krx {

struct DayFileKind {
  const char* pattern;    // what the folder search is given
  const char* extension;  // what the found name must really end in
  RecordCollection collection;
};

// Reading order: visits, blocks, media, flash.
extern const DayFileKind kDayFileMergeOrder[4];
// Deleting order: visits, blocks, flash, media.
extern const DayFileKind kDayFileDeleteOrder[4];
// The add-on's *.ins files are never read or deleted; they only lower the
// progress range of a merge.
extern const char kInsPattern[];
extern const char kInsExtension[];

// The wildcard search of the system also matches 8.3 short names, so "*.vis"
// finds "a.visx"; a name is taken only when its own extension is the one
// asked for (compared without regard to case, as the file system does).
bool HasExtension(std::string_view fileName, std::string_view extension);

}  // namespace krx
