#pragma once
// Records written out as rows, the one writer of the window's Export and of
// krxtool's export and search: text (tab-separated), CSV (CR LF, as
// spreadsheets expect) and HTML (UTF-8, whatever the system's code page).
// Each row holds the record's date, address and whole text; with a log
// column it also names the log it comes from.
#include <iosfwd>
#include <string>
#include <string_view>

namespace krx {

enum class ExportFormat { kText, kCsv, kHtml };

// "text", "csv" or "html".
bool ParseExportFormat(const std::string& name, ExportFormat& format);
// The format a file name asks for by its extension (.txt, .csv, .htm,
// .html, any case), or `fallback` for another or none.
ExportFormat ExportFormatOfPath(const std::string& path, ExportFormat fallback);

std::string CsvField(std::string_view s);
void AppendHtmlText(std::string& to, std::string_view s);

// Converts record text in the system's code page to UTF-8 (for HTML).
using TextToUtf8 = std::string (*)(std::string_view text);

class RecordRowWriter {
 public:
  // Writes the head at once. newline ends the text and HTML lines.
  RecordRowWriter(std::ostream& out, ExportFormat format, const std::string& title, bool logColumn,
                  std::string newline, TextToUtf8 toUtf8);
  void Row(std::string_view log, std::string_view record);
  // The closing lines (HTML); call once after the last row.
  void End();

 private:
  std::string Utf8(std::string_view text) const;

  std::ostream& out_;
  ExportFormat format_;
  bool logColumn_;
  std::string newline_;
  TextToUtf8 toUtf8_;
};

}  // namespace krx
