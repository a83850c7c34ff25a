#include "core/record_text.h"

namespace krx {

namespace {

// Reads `digits` digits at key[at].
bool Digits(std::string_view key, size_t at, size_t digits, long& value) {
  value = 0;
  for (size_t i = at; i < at + digits; ++i) {
    if (key[i] < '0' || key[i] > '9') return false;
    value = value * 10 + (key[i] - '0');
  }
  return true;
}

bool RealDay(long year, long month, long day) {
  static const long kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month != 2 || day <= 28 || leap;
}

// "mm/dd/yyyy", the add-on's form, as the numbers of a real day.
bool ReadSlashDate(std::string_view key, long& year, long& month, long& day) {
  return key.size() == 10 && key[2] == '/' && key[5] == '/' && Digits(key, 0, 2, month) && Digits(key, 3, 2, day) &&
         Digits(key, 6, 4, year) && RealDay(year, month, day);
}

}  // namespace

bool IsRecordText(std::string_view line) {
  if (line.empty() || line.front() != '<') return false;
  for (char c : line) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u < 0x20 && c != '\t') || u == 0x7F) return false;
  }
  return true;
}

std::string_view StampDateView(std::string_view record) {
  size_t space = record.find(' ');
  if (space == std::string_view::npos) return std::string_view();
  size_t start = 0;
  while (start < space && record[start] == '<') ++start;
  return record.substr(start, space - start);
}

bool IsRealDateKey(std::string_view key) {
  long year, month, day;
  if (ReadSlashDate(key, year, month, day)) return true;
  return key.size() == 10 && key[4] == '-' && key[7] == '-' && Digits(key, 0, 4, year) && Digits(key, 5, 2, month) &&
         Digits(key, 8, 2, day) && RealDay(year, month, day);
}

std::string_view DateKeyView(std::string_view record) {
  const std::string_view key = StampDateView(record);
  return IsRealDateKey(key) ? key : std::string_view();
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
  long year, month, day;
  return ReadSlashDate(key, year, month, day) ? year * 10000 + month * 100 + day : -1;
}

std::string DateKey(const std::string& record) { return std::string(DateKeyView(record)); }

std::string RecordAddress(const std::string& record) { return std::string(RecordAddressView(record)); }

}  // namespace krx
