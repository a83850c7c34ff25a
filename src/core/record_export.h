#pragma once
// The export formats and their cells, and the rows of krxtool's search:
// text (tab-separated), CSV (CR LF, as spreadsheets expect) and HTML (UTF-8,
// whatever the system's code page). A search row holds the record's log,
// date, address and whole text. The export of one log or list is
// core/log_export.h.
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

// The code page the record bytes are written in: it decides which bytes
// spell the full-width = + - @ that a spreadsheet reads as the ASCII ones.
// UTF-8, and the double-byte code pages 932, 936, 949 and 950 have them;
// a single-byte code page has none.
constexpr unsigned kCodePageUtf8 = 65001;

// True when a spreadsheet would run the cell as a formula: it begins with
// a tab or CR, or its first character after leading blanks (spaces, tabs)
// is = + - @ or the full-width form of one in codePage.
bool CsvCellLooksLikeFormula(std::string_view s, unsigned codePage = kCodePageUtf8);

// A CSV cell: quoted when it holds a comma, a quote or a line end, and
// quoted after an apostrophe when a spreadsheet would take it for a formula.
std::string CsvField(std::string_view s, unsigned codePage = kCodePageUtf8);
void AppendCsvField(std::string& to, std::string_view s, unsigned codePage = kCodePageUtf8);
// Text as HTML: & < > " ' escaped, so it is safe in an element and in a
// quoted attribute. Every page the program writes escapes through it.
void AppendHtmlText(std::string& to, std::string_view s);

// Converts record text in the system's code page to UTF-8 (for HTML).
using TextToUtf8 = std::string (*)(std::string_view text);

class RecordRowWriter {
 public:
  // Writes the head at once. newline ends the text and HTML lines.
  RecordRowWriter(std::ostream& out, ExportFormat format, const std::string& title, bool logColumn,
                  std::string newline, TextToUtf8 toUtf8, unsigned codePage = kCodePageUtf8);
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
  unsigned codePage_;
};

}  // namespace krx
