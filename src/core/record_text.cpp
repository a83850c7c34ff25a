#include "core/record_text.h"

namespace krx {

std::string_view DateKeyView(std::string_view record) {
  size_t space = record.find(' ');
  if (space == std::string_view::npos) return std::string_view();
  size_t start = 0;
  while (start < space && record[start] == '<') ++start;
  return record.substr(start, space - start);
}

std::string_view RecordAddressView(std::string_view record) {
  size_t gt = record.find('>');
  if (gt == std::string_view::npos) return std::string_view();
  size_t start = gt + 2;
  if (start > record.size()) return std::string_view();
  size_t end = record.find(" - ", start);
  if (end == std::string_view::npos) end = record.size();
  return record.substr(start, end - start);
}

long DateKeyOrder(std::string_view key) {
  if (key.size() != 10 || key[2] != '/' || key[5] != '/') return -1;
  long month = 0, day = 0, year = 0;
  for (size_t i = 0; i < key.size(); ++i) {
    if (i == 2 || i == 5) continue;
    if (key[i] < '0' || key[i] > '9') return -1;
    long& part = i < 2 ? month : i < 5 ? day : year;
    part = part * 10 + (key[i] - '0');
  }
  if (month < 1 || month > 12 || day < 1 || day > 31) return -1;
  return year * 10000 + month * 100 + day;
}

std::string DateKey(const std::string& record) { return std::string(DateKeyView(record)); }

std::string RecordAddress(const std::string& record) { return std::string(RecordAddressView(record)); }

}  // namespace krx
