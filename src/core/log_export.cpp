#include "core/log_export.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <ostream>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "core/item_text.h"
#include "core/manager_views.h"
#include "core/record_text.h"

namespace krx {
namespace {

// Reads 1 to maxDigits digits at pos.
bool ReadNumber(std::string_view s, size_t& pos, size_t maxDigits, unsigned& value, size_t& digits) {
  value = 0;
  digits = 0;
  while (pos < s.size() && digits < maxDigits && s[pos] >= '0' && s[pos] <= '9') {
    value = value * 10 + unsigned(s[pos++] - '0');
    ++digits;
  }
  return digits > 0;
}

// The add-on writes "mm/dd/yyyy"; older files and other tools "yyyy-mm-dd".
bool ParseDate(std::string_view date, unsigned& year, unsigned& month, unsigned& day) {
  size_t pos = 0, digits = 0;
  unsigned a = 0, b = 0, c = 0;
  if (!ReadNumber(date, pos, 4, a, digits) || pos >= date.size()) return false;
  const char sep = date[pos];
  const bool yearFirst = digits == 4;
  if ((sep != '/' && sep != '-') || !ReadNumber(date, ++pos, 2, b, digits) || pos >= date.size() ||
      date[pos] != sep || !ReadNumber(date, ++pos, 4, c, digits) || pos != date.size()) {
    return false;
  }
  year = yearFirst ? a : c;
  month = yearFirst ? b : a;
  day = yearFirst ? c : b;
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool ParseTime(std::string_view time, unsigned& seconds) {
  size_t pos = 0, digits = 0;
  unsigned h = 0, m = 0, s = 0;
  if (!ReadNumber(time, pos, 2, h, digits) || pos >= time.size() || time[pos] != ':' ||
      !ReadNumber(time, ++pos, 2, m, digits) || pos >= time.size() || time[pos] != ':' ||
      !ReadNumber(time, ++pos, 2, s, digits) || pos != time.size()) {
    return false;
  }
  seconds = h * 10000 + m * 100 + s;
  return h < 24 && m < 60 && s < 61;
}

// "<date time> address - detail": the time runs from the first space to '>'.
std::string_view TimeView(std::string_view record) {
  const size_t space = record.find(' ');
  const size_t gt = space == std::string_view::npos ? space : record.find('>', space);
  return gt == std::string_view::npos ? std::string_view() : record.substr(space + 1, gt - space - 1);
}

// What follows the " - " that ends the address.
std::string_view DetailView(std::string_view record) {
  const std::string_view address = RecordAddressView(record);
  if (address.data() == nullptr) return std::string_view();
  const size_t end = size_t(address.data() - record.data()) + address.size();
  return record.compare(end, 3, " - ") == 0 ? record.substr(end + 3) : std::string_view();
}

// "<date time> rest": a stamp, then a blank, cut where the views cut. Any
// other line goes whole into the Detail cell, so no byte of it is lost.
bool SplitsIntoCells(std::string_view record) {
  const size_t space = record.find(' ');
  const size_t gt = record.find('>');
  return !record.empty() && record.front() == '<' && space < gt && gt != std::string_view::npos &&
         (gt + 1 == record.size() || record[gt + 1] == ' ');
}

constexpr uint64_t kUnreadable = std::numeric_limits<uint64_t>::max();

uint64_t SortKey(std::string_view record) {
  unsigned y, mo, d, hms;
  if (!ParseDate(StampDateView(record), y, mo, d) || !ParseTime(TimeView(record), hms)) return kUnreadable;
  return ((uint64_t(y) * 100 + mo) * 100 + d) * 1000000 + hms;
}

// What an export takes: the chosen day or days, the lines holding the
// filter's text.
struct Choice {
  explicit Choice(const ExportRequest& request)
      : filter(request.filter, request.filterCase), days(request.days.begin(), request.days.end()) {}
  LineMatcher filter;
  std::unordered_set<std::string_view> days;
};

bool Chosen(const std::string& record, const ExportRequest& request, const Choice& choice) {
  const std::string_view key = DateKeyView(record);
  const bool day = request.days.empty() ? request.day.empty() || key == request.day : choice.days.count(key) != 0;
  return day && (choice.filter.Empty() || choice.filter(record));
}

uint64_t KeyOf(const std::string& record, const ExportRequest& request) {
  return request.isList ? 0 : SortKey(record);
}

struct Place {
  uint64_t key;
  uint32_t index;
};

// The chosen records in the export's order, when the stored order is not
// already that order (16 bytes a record).
std::vector<Place> SortedOrder(const StringArray& records, const ExportRequest& request, const Choice& filter) {
  std::vector<Place> order;
  for (size_t i = 0; i < records.size(); ++i) {
    if (Chosen(records[i], request, filter)) order.push_back({KeyOf(records[i], request), uint32_t(i)});
  }
  std::sort(order.begin(), order.end(),
            [](const Place& a, const Place& b) { return a.key != b.key ? a.key < b.key : a.index < b.index; });
  return order;
}

// Columns read left to right, rows apart by a rule; a long address wraps
// anywhere, a log's date and time never.
constexpr char kHtmlStyle[] =
    "<style>table{border-collapse:collapse}th,td{text-align:left;vertical-align:top;padding:2px 8px;"
    "border-bottom:1px solid #ccc}td{overflow-wrap:anywhere}.log td:nth-child(-n+2){white-space:nowrap}</style>";

void AppendTextCell(std::string& line, std::string_view cell) {
  // A tab would shift the columns after it.
  for (char c : cell) line += c == '\t' ? ' ' : c;
}

class ExportWriter {
 public:
  ExportWriter(std::ostream& out, const ExportRequest& request) : out_(out), request_(request) {}

  void Head(size_t count) {
    const std::string& day = request_.day.empty() ? request_.daysShown : request_.day;
    const std::string title = !request_.days.empty()
                                  ? request_.name + ", " + request_.days.front() + " to " + request_.days.back()
                              : day.empty() ? request_.name
                                            : request_.name + ", " + day;
    const std::string summary = std::to_string(count) + (count == 1 ? " record" : " records") + ", exported " +
                                request_.exportedAt;
    const std::string& nl = request_.newline;
    std::string head;
    if (request_.format == ExportFormat::kText) {
      head = title + nl + summary + nl + nl;
    } else if (request_.format == ExportFormat::kHtml) {
      // Every link of the page opens without telling the site where it was
      // found: the meta for the page, rel on each link for older browsers.
      std::string t;
      AppendHtmlText(t, Utf8(title));
      head = "<!DOCTYPE html>" + nl + "<html><head><meta charset=\"utf-8\">" +
             "<meta name=\"referrer\" content=\"no-referrer\"><title>" + t + "</title>" + nl + kHtmlStyle +
             "</head><body>" + nl + "<h1>" + t + "</h1>" + nl + "<p>";
      AppendHtmlText(head, Utf8(summary));
      head += "</p>" + nl + (request_.isList ? "<table>" : "<table class=\"log\">") + nl;
    }
    Cells(request_.isList ? std::initializer_list<std::string_view>{"Address"}
                          : std::initializer_list<std::string_view>{"Date", "Time", "Address", "Detail"},
          true, head);
  }

  void Row(std::string_view record) {
    line_.clear();  // one buffer for every row: a million rows, no million allocations
    if (request_.isList) {
      Cells({record}, false, line_);
    } else if (!SplitsIntoCells(record)) {
      Cells({{}, {}, {}, record}, false, line_);
    } else {
      Cells({StampDateView(record), TimeView(record), RecordAddressView(record), DetailView(record)}, false, line_);
    }
  }

  void End() {
    if (request_.format != ExportFormat::kHtml) return;
    out_ << "</table>" << request_.newline << "</body></html>" << request_.newline;
  }

 private:
  std::string Utf8(std::string_view text) const {
    return request_.toUtf8 ? request_.toUtf8(text) : std::string(text);
  }

  // Appends one row of cells to line (after what it holds) and writes it.
  void Cells(std::initializer_list<std::string_view> cells, bool heading, std::string& line) {
    const bool html = request_.format == ExportFormat::kHtml;
    if (html) line += "<tr>";
    bool first = true;
    for (std::string_view cell : cells) {
      if (request_.format == ExportFormat::kText) {
        if (!first) line += '\t';
        AppendTextCell(line, cell);
      } else if (request_.format == ExportFormat::kCsv) {
        if (!first) line += ',';
        AppendCsvField(line, cell, request_.codePage);
      } else {
        line += heading ? "<th>" : "<td>";
        AppendHtmlCell(line, cell);
        line += heading ? "</th>" : "</td>";
      }
      first = false;
    }
    if (html) line += "</tr>";
    line += request_.format == ExportFormat::kCsv ? "\r\n" : request_.newline;
    out_.write(line.data(), std::streamsize(line.size()));
  }

  // A web address becomes a link, anything else stays text.
  void AppendHtmlCell(std::string& line, std::string_view cell) const {
    const std::string text = Utf8(cell);
    if (!IsOpenableAddress(IDC_TAB_VISIT, text)) {
      AppendHtmlText(line, text);
      return;
    }
    line += "<a href=\"";
    AppendHtmlText(line, text);
    line += "\" rel=\"noreferrer\">";
    AppendHtmlText(line, text);
    line += "</a>";
  }

  std::ostream& out_;
  const ExportRequest& request_;
  std::string line_;
};

const char* ExportExtension(ExportFormat format) {
  return format == ExportFormat::kText ? ".txt" : format == ExportFormat::kCsv ? ".csv" : ".htm";
}

}  // namespace

void NameExportAfterFile(const std::string& fileName, ExportRequest& request) {
  const int c = RecordCollectionOfFile(fileName);
  request.isList = c == kWhiteList || c == kForbiddenList;
  if (c >= 0) {
    request.name = kRecordNames[size_t(c)];
  } else {
    const size_t slash = fileName.find_last_of("/\\");
    request.name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  }
}

void WriteExport(std::ostream& out, const ExportRequest& request, const StringArray& records) {
  // A log is mostly stored in order already (the add-on writes as time
  // goes): then its records go out as they are, with no order kept beside.
  const Choice filter(request);
  size_t count = 0;
  bool inOrder = true;
  uint64_t last = 0;
  for (const std::string& r : records) {
    if (!Chosen(r, request, filter)) continue;
    const uint64_t key = KeyOf(r, request);
    inOrder = inOrder && key >= last;
    last = key;
    ++count;
  }
  ExportWriter writer(out, request);
  writer.Head(count);
  if (inOrder) {
    for (const std::string& r : records) {
      if (!out) return;  // a full disk: the caller reports it, no use going on
      if (Chosen(r, request, filter)) writer.Row(r);
    }
  } else {
    for (const Place& p : SortedOrder(records, request, filter)) {
      if (!out) return;
      writer.Row(records[p.index]);
    }
  }
  writer.End();
}

std::string ExportTimeText(int year, int month, int day, int hour, int minute, int second) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d:%02d", month, day, year, hour, minute, second);
  return text;
}

std::string ExportFileNameOf(const std::string& recordFileName, const ExportRequest& request, ExportFormat format) {
  if (request.days.empty()) return ExportFileName(recordFileName, request.day, format);
  const std::string first = ExportFileName(recordFileName, request.days.front(), format);
  if (request.days.size() == 1) return first;
  const std::string last = ExportFileName(recordFileName, request.days.back(), format);
  // "visit-2026-12-01.csv" and "visit-2026-12-07.csv" make
  // "visit-2026-12-01-to-2026-12-07.csv".
  const size_t base = recordFileName.substr(0, recordFileName.rfind('.')).size();
  const size_t dot = first.rfind('.');
  return first.substr(0, dot) + "-to" + last.substr(base);
}

std::string ExportFileName(const std::string& recordFileName, const std::string& day, ExportFormat format) {
  std::string name = recordFileName.substr(0, recordFileName.rfind('.'));
  if (!day.empty()) {
    unsigned y, m, d;
    char iso[16];
    if (ParseDate(day, y, m, d)) {
      std::snprintf(iso, sizeof iso, "%04u-%02u-%02u", y, m, d);
      name += std::string("-") + iso;
    } else {
      // A day the add-on never writes still names a file Windows accepts.
      name += '-';
      for (char c : day) name += std::string_view("\\/:*?\"<>|").find(c) == std::string_view::npos ? c : '-';
    }
  }
  return name + ExportExtension(format);
}

std::string WithExportExtension(const std::string& name, ExportFormat format) {
  const size_t dot = name.find_last_of("./\\");
  if (dot == std::string::npos || name[dot] != '.') return name + ExportExtension(format);
  // An ending of no export format reads as the chosen one: it stays.
  if (ExportFormatOfPath(name, format) == format) return name;
  return name.substr(0, dot) + ExportExtension(format);
}

}  // namespace krx
