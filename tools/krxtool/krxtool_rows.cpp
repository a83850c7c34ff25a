#include <ostream>

#include "core/record_text.h"
#include "records/file_io.h"
#include "tools/krxtool/krxtool_internal.h"

namespace krx {
namespace tool {

int LoadForTool(const std::string& path, const std::string& password, RecordFileRead& read, std::ostream& err) {
  std::unique_ptr<FileSource> file = FileSource::Open(path);
  if (!file) {
    err << "krxtool: cannot open " << path << "\n";
    return kExitFile;
  }
  read = ReadRecordFile(*file, password, &SystemWideToMultiByte);
  if (read.status == RecordFileStatus::kStampMismatch) {
    err << "krxtool: " << path << " is stamped with another password\n";
    return kExitWrongPassword;
  }
  if (read.status == RecordFileStatus::kDamaged) {
    err << "krxtool: " << path << " is damaged; " << read.records.size() << " whole records could be read\n";
    return kExitFile;
  }
  return kExitOk;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool IsRowFormat(const std::string& format) { return format == "text" || format == "csv" || format == "html"; }

std::string CsvField(std::string_view s) {
  if (s.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(s);
  std::string q = "\"";
  for (char c : s) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

void AppendHtmlText(std::string& to, std::string_view s) {
  for (char c : s) {
    switch (c) {
      case '&': to += "&amp;"; break;
      case '<': to += "&lt;"; break;
      case '>': to += "&gt;"; break;
      case '"': to += "&quot;"; break;
      default: to += c;
    }
  }
}

RowWriter::RowWriter(std::ostream& out, const std::string& format, const std::string& title, bool logColumn)
    : out_(out), format_(format), logColumn_(logColumn) {
  if (format_ == "csv") {
    out_ << (logColumn_ ? "log," : "") << "date,address,record\r\n";
  } else if (format_ == "html") {
    // The records are converted to UTF-8 on the way out, so the page says so
    // whatever code page the records were written in.
    std::string head = "<!DOCTYPE html>";
    head += kNewline;
    head += "<html><head><meta charset=\"utf-8\"><title>";
    AppendHtmlText(head, SystemTextToUtf8(title));
    head += "</title></head><body>";
    head += kNewline;
    head += "<table>";
    head += kNewline;
    head += logColumn_ ? "<tr><th>Log</th><th>Date</th><th>Address</th><th>Record</th></tr>"
                       : "<tr><th>Date</th><th>Address</th><th>Record</th></tr>";
    head += kNewline;
    out_ << head;
  }
}

void RowWriter::Row(std::string_view log, std::string_view record) {
  std::string_view date = DateKeyView(record), address = RecordAddressView(record);
  std::string line;
  if (format_ == "text") {
    if (logColumn_) line.append(log).push_back('\t');
    line.append(date).append("\t").append(address).append("\t").append(record).append(kNewline);
  } else if (format_ == "csv") {
    if (logColumn_) line.append(CsvField(log)).push_back(',');
    line.append(CsvField(date)).append(",").append(CsvField(address)).append(",").append(CsvField(record));
    line.append("\r\n");
  } else {
    line = "<tr>";
    if (logColumn_) {
      line += "<td>";
      AppendHtmlText(line, SystemTextToUtf8(log));
      line += "</td>";
    }
    for (std::string_view cell : {date, address, record}) {
      line += "<td>";
      AppendHtmlText(line, SystemTextToUtf8(cell));
      line += "</td>";
    }
    line.append("</tr>").append(kNewline);
  }
  out_.write(line.data(), std::streamsize(line.size()));
}

void RowWriter::End() {
  if (format_ == "html") out_ << "</table>" << kNewline << "</body></html>" << kNewline;
}

}  // namespace tool
}  // namespace krx
