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

std::string DateKey(const std::string& record) { return std::string(DateKeyView(record)); }

std::string RecordAddress(const std::string& record) { return std::string(RecordAddressView(record)); }

}  // namespace krx
