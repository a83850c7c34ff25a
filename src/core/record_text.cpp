#include "core/record_text.h"

namespace krx {

std::string DateKey(const std::string& record) {
  size_t space = record.find(' ');
  if (space == std::string::npos) return std::string();
  size_t start = 0;
  while (start < space && record[start] == '<') ++start;
  return record.substr(start, space - start);
}

std::string RecordAddress(const std::string& record) {
  size_t gt = record.find('>');
  if (gt == std::string::npos) return std::string();
  size_t start = gt + 2;
  if (start > record.size()) return std::string();
  size_t end = record.find(" - ", start);
  if (end == std::string::npos) end = record.size();
  return record.substr(start, end - start);
}

}  // namespace krx
