#include "core/record_export.h"

#include <cctype>
#include <ostream>
#include <string>

#include "core/record_text.h"

namespace krx {

bool ParseExportFormat(const std::string& name, ExportFormat& format) {
  if (name == "text") format = ExportFormat::kText;
  else if (name == "csv") format = ExportFormat::kCsv;
  else if (name == "html") format = ExportFormat::kHtml;
  else return false;
  return true;
}

ExportFormat ExportFormatOfPath(const std::string& path, ExportFormat fallback) {
  const size_t dot = path.find_last_of("./\\");
  if (dot == std::string::npos || path[dot] != '.') return fallback;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "txt") return ExportFormat::kText;
  if (ext == "csv") return ExportFormat::kCsv;
  if (ext == "htm" || ext == "html") return ExportFormat::kHtml;
  return fallback;
}

namespace {

// The full-width = + - @ (U+FF1D, U+FF0B, U+FF0D, U+FF20) as each code page
// writes them; the same bytes in another code page are other characters.
struct FullWidthForms {
  unsigned codePage;
  const char* forms[4];
};
constexpr FullWidthForms kFullWidthForms[] = {
    {kCodePageUtf8, {"\xEF\xBC\x9D", "\xEF\xBC\x8B", "\xEF\xBC\x8D", "\xEF\xBC\xA0"}},
    {932, {"\x81\x81", "\x81\x7B", "\x81\x7C", "\x81\x97"}},
    {936, {"\xA3\xBD", "\xA3\xAB", "\xA3\xAD", "\xA3\xC0"}},
    {949, {"\xA3\xBD", "\xA3\xAB", "\xA3\xAD", "\xA3\xC0"}},
    {950, {"\xA1\xD7", "\xA1\xCF", "\xA1\xD0", "\xA2\x49"}},
};

bool StartsWithFullWidthSign(std::string_view s, unsigned codePage) {
  if (s.empty() || static_cast<unsigned char>(s.front()) < 0x80) return false;
  for (const FullWidthForms& cp : kFullWidthForms) {
    if (cp.codePage != codePage) continue;
    for (const char* form : cp.forms) {
      if (s.substr(0, std::char_traits<char>::length(form)) == form) return true;
    }
  }
  return false;
}

}  // namespace

bool CsvCellLooksLikeFormula(std::string_view s, unsigned codePage) {
  // Page titles and addresses come from any web page; a spreadsheet runs a
  // cell that begins like a formula, after any blanks it skips first, and
  // full-width signs count as the ASCII ones.
  if (s.empty()) return false;
  if (s.front() == '\t' || s.front() == '\r') return true;
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return false;
  const std::string_view rest = s.substr(first);
  return std::string_view("=+-@").find(rest.front()) != std::string_view::npos ||
         StartsWithFullWidthSign(rest, codePage);
}

void AppendCsvField(std::string& to, std::string_view s, unsigned codePage) {
  // An apostrophe before a formula makes it plain text.
  const bool formula = CsvCellLooksLikeFormula(s, codePage);
  if (!formula && s.find_first_of(",\"\r\n") == std::string_view::npos) {
    to.append(s);
    return;
  }
  to += formula ? "\"'" : "\"";
  for (char c : s) {
    if (c == '"') to += '"';
    to += c;
  }
  to += '"';
}

std::string CsvField(std::string_view s, unsigned codePage) {
  std::string field;
  AppendCsvField(field, s, codePage);
  return field;
}

void AppendHtmlText(std::string& to, std::string_view s) {
  for (char c : s) {
    switch (c) {
      case '&': to += "&amp;"; break;
      case '<': to += "&lt;"; break;
      case '>': to += "&gt;"; break;
      case '"': to += "&quot;"; break;
      case '\'': to += "&#39;"; break;
      default: to += c;
    }
  }
}

RecordRowWriter::RecordRowWriter(std::ostream& out, ExportFormat format, const std::string& title, bool logColumn,
                                 std::string newline, TextToUtf8 toUtf8, unsigned codePage)
    : out_(out),
      format_(format),
      logColumn_(logColumn),
      newline_(std::move(newline)),
      toUtf8_(toUtf8),
      codePage_(codePage) {
  if (format_ == ExportFormat::kCsv) {
    out_ << (logColumn_ ? "log," : "") << "date,address,record\r\n";
  } else if (format_ == ExportFormat::kHtml) {
    // The records are converted to UTF-8 on the way out, so the page says so
    // whatever code page the records were written in.
    std::string head = "<!DOCTYPE html>" + newline_ + "<html><head><meta charset=\"utf-8\"><title>";
    AppendHtmlText(head, Utf8(title));
    head += "</title></head><body>" + newline_ + "<table>" + newline_;
    head += logColumn_ ? "<tr><th>Log</th><th>Date</th><th>Address</th><th>Record</th></tr>"
                       : "<tr><th>Date</th><th>Address</th><th>Record</th></tr>";
    head += newline_;
    out_ << head;
  }
}

std::string RecordRowWriter::Utf8(std::string_view text) const {
  return toUtf8_ ? toUtf8_(text) : std::string(text);
}

void RecordRowWriter::Row(std::string_view log, std::string_view record) {
  std::string_view date = DateKeyView(record), address = RecordAddressView(record);
  std::string line;
  if (format_ == ExportFormat::kText) {
    if (logColumn_) line.append(log).push_back('\t');
    line.append(date).append("\t").append(address).append("\t").append(record).append(newline_);
  } else if (format_ == ExportFormat::kCsv) {
    if (logColumn_) line.append(CsvField(log, codePage_)).push_back(',');
    line.append(CsvField(date, codePage_)).append(",").append(CsvField(address, codePage_)).append(",");
    line.append(CsvField(record, codePage_));
    line.append("\r\n");
  } else {
    line = "<tr>";
    if (logColumn_) {
      line += "<td>";
      AppendHtmlText(line, Utf8(log));
      line += "</td>";
    }
    for (std::string_view cell : {date, address, record}) {
      line += "<td>";
      AppendHtmlText(line, Utf8(cell));
      line += "</td>";
    }
    line.append("</tr>").append(newline_);
  }
  out_.write(line.data(), std::streamsize(line.size()));
}

void RecordRowWriter::End() {
  if (format_ == ExportFormat::kHtml) out_ << "</table>" << newline_ << "</body></html>" << newline_;
}

}  // namespace krx
