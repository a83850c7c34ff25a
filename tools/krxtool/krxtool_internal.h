#pragma once
// What krxtool's commands share: the parsed command line, the record rows
// in the export formats, and the platform's text rules.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "core/day_file_merge.h"
#include "core/record_export.h"
#include "core/record_file.h"
#include "records/system_text.h"
#include "tools/krxtool/krxtool.h"

namespace krx {
namespace tool {

struct Options {
  std::string command;
  std::vector<std::string> operands;  // FILE, or PATTERN FILE... for search
  std::string password, format = "text";
  bool hasPassword = false;
  bool hasFormat = false;
  int matchCase = -1;  // -1: as the settings file beside the log says (the window's Find)
  std::string days;    // --days FROM..TO ("" when not given)
  long last = 0;       // --last N (0 when not given)
  std::string filter;  // --filter TEXT
  bool hasFilter = false;
  bool onlyNew = false;  // sites --new
  ExportClock clock = nullptr;
};

#ifdef _WIN32
constexpr char kNewline[] = "\r\n";
#else
constexpr char kNewline[] = "\n";
#endif

// Reads a record file for the password; prints the reason and returns an
// exit code other than 0 when its records cannot be had whole.
int LoadForTool(const std::string& path, const std::string& password, RecordFileRead& read, std::ostream& err);

// The folder part of a path, with its separator ("" for a bare name).
std::string FolderOf(const std::string& path);

// Record rows in the export formats: the core's writer, with this
// system's line ends and text conversion.
class RowWriter : public RecordRowWriter {
 public:
  RowWriter(std::ostream& out, const std::string& format, const std::string& title, bool logColumn)
      : RecordRowWriter(out, FormatOf(format), title, logColumn, kNewline, &SystemTextToUtf8,
                        SystemCodePage()) {}

 private:
  static ExportFormat FormatOf(const std::string& name) {
    ExportFormat f = ExportFormat::kText;
    ParseExportFormat(name, f);
    return f;
  }
};

inline bool IsRowFormat(const std::string& format) {
  ExportFormat f;
  return ParseExportFormat(format, f);
}

// The records that export, stats and sites act on: those of the days that
// --days or --last choose (every day without them) that hold the --filter
// text (case as the window's Find).
struct Chosen {
  StringArray records;
  std::vector<std::string> dayKeys;  // the chosen date keys
  bool allDays = true;
  std::string title;                 // DaysTitle of the chosen days
};
// Prints why and returns kExitUsage for a range that is no range.
int ChooseRecords(const Options& o, const std::string& file, StringArray& records, Chosen& chosen, std::ostream& err);

// Find's case rule for `log`: the option given, else the setting in the
// settings file beside it.
int CaseSetting(const Options& o, const std::string& log);

int Import(const Options& o, std::istream& in, std::ostream& out, std::ostream& err, ManagerRunningProbe probe);
int Stats(const Options& o, std::ostream& out, std::ostream& err);
int Search(const Options& o, std::ostream& out, std::ostream& err);
int Sites(const Options& o, std::ostream& out, std::ostream& err);

}  // namespace tool
}  // namespace krx
