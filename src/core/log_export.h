#pragma once
// The export of one log or list, the one writer of the window's Export and
// of krxtool's export: a log's records as Date, Time, Address and Detail,
// ordered by day and time; a list's entries as one column, as stored. Rows
// go out as they are made, so an export holds no copy of the log, only the
// order of its records (16 bytes a record) when they are not stored in it.
#include <iosfwd>
#include <string>

#include "core/record_export.h"
#include "core/record_file.h"

namespace krx {

struct ExportRequest {
  ExportFormat format = ExportFormat::kCsv;
  bool isList = false;            // white and forbidden list: one column
  std::string name;               // "Visit log": the heading of text and HTML
  std::string day;                // a log's day (its date key); "" for the whole log
  std::string daysShown;          // the heading's days when the records were chosen before (krxtool's --days)
  StringArray days;               // several days (their date keys, in list order); then day is ""
  std::string filter;             // only the records holding this text (the quick filter); "" for all
  int filterCase = 0;             // the filter's case, as Find's option says it
  std::string exportedAt;         // when, as the heading says it
  std::string newline = "\r\n";   // ends text and HTML lines; CSV lines end in CR LF always
  TextToUtf8 toUtf8 = nullptr;    // HTML is UTF-8; nullptr keeps the bytes
  unsigned codePage = kCodePageUtf8;  // of the record bytes, which CSV and text keep
};

// Names the export after its record file ("visit.log": "Visit log", a log;
// "white.log": "White list", a list). Another name (a copy, a .bad file)
// stands for itself, as a log.
void NameExportAfterFile(const std::string& fileName, ExportRequest& request);

// Writes the whole export. A log's records (those of request.day when it is
// set) come ordered by date and time; equal times, and records whose date
// or time cannot be read (they come last), keep their stored order. The
// stream's state tells whether every byte went out.
void WriteExport(std::ostream& out, const ExportRequest& request, const StringArray& records);

// The time an export heading shows: "mm/dd/yyyy hh:mm:ss", as records say it.
std::string ExportTimeText(int year, int month, int day, int hour, int minute, int second);

// The file name Save As proposes: the record file's name without its
// ending, then for a day "-yyyy-mm-dd", then the format's ending:
// "visit.csv", "visit-2026-12-07.csv".
std::string ExportFileName(const std::string& recordFileName, const std::string& day, ExportFormat format);
// The same for a request: its day, or its several days as the first and the
// last ("visit-2026-12-01-to-2026-12-07.csv").
std::string ExportFileNameOf(const std::string& recordFileName, const ExportRequest& request, ExportFormat format);

// The name with the ending of the type chosen in Save As: an export ending
// of another format is replaced ("visit.csv" as text: "visit.txt"), none is
// added; any other ending is the user's own and stays. The type chosen,
// not the name, decides the format.
std::string WithExportExtension(const std::string& name, ExportFormat format);

}  // namespace krx
