#pragma once
// What krxtool's commands share: the parsed command line, the record rows
// in the export formats, and the platform's text rules.
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "core/day_file_merge.h"
#include "core/record_file.h"
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

// Record rows in the export formats: text (tab-separated), CSV (CR LF, as
// spreadsheets expect) and HTML (UTF-8, whatever the system's code page).
// With a log column each row also names the log it comes from.
class RowWriter {
 public:
  RowWriter(std::ostream& out, const std::string& format, const std::string& title, bool logColumn);
  void Row(std::string_view log, std::string_view record);
  void End();

 private:
  std::ostream& out_;
  std::string format_;
  bool logColumn_;
};

bool IsRowFormat(const std::string& format);
std::string CsvField(std::string_view s);
void AppendHtmlText(std::string& to, std::string_view s);

// Record bytes in the system's code page as UTF-8.
std::string SystemTextToUtf8(std::string_view text);
// The system's lead bytes, for walking double-byte text (nullptr: none).
LeadBytePredicate SystemLeadBytes();

int Import(const Options& o, std::istream& in, std::ostream& out, std::ostream& err, ManagerRunningProbe probe);
int Stats(const Options& o, std::ostream& out, std::ostream& err);
int Search(const Options& o, std::ostream& out, std::ostream& err);

}  // namespace tool
}  // namespace krx
