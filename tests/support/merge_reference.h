#pragma once
// The merge written the plain way: cut each line with a character-by-
// character search for CR LF from the third byte of what is left, then look
// for it in the collection from the newest record back; a line that is not
// text beginning with '<' stays out. Slow (quadratic) and
// obviously right; the indexed merge must give exactly its result.
#include <string>
#include <vector>

#include "core/record_text.h"

namespace krx_test {

inline size_t ReferenceFindCrLf(const std::string& text, size_t from, bool (*isLead)(unsigned char)) {
  size_t i = from;
  while (i + 1 < text.size()) {
    if (text[i] == '\r' && text[i + 1] == '\n') return i;
    if (isLead != nullptr && isLead(static_cast<unsigned char>(text[i]))) {
      i += 2;
    } else {
      i += 1;
    }
  }
  return std::string::npos;
}

// Looks for s from the last item back, as the plain algorithm does.
inline bool ReverseContains(const std::vector<std::string>& items, const std::string& s) {
  for (size_t i = items.size(); i-- > 0;) {
    if (items[i] == s) return true;
  }
  return false;
}

inline void ReferenceMerge(const std::string& fileText, std::vector<std::string>& records,
                           bool (*isLead)(unsigned char) = nullptr) {
  std::string rest = fileText;
  while (!rest.empty()) {
    size_t end = std::string::npos;
    if (rest.size() >= 2) end = ReferenceFindCrLf(rest, 2, isLead);
    std::string line = end == std::string::npos ? rest : rest.substr(0, end);
    bool text = !line.empty() && line[0] == '<';
    for (char c : line) text = text && (c == '\t' || (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F));
    if (text && !ReverseContains(records, line)) records.push_back(line);
    if (end == std::string::npos) break;
    rest = rest.substr(end + 2);
  }
}

// The date list built the plain way: each key looked for from the last item back.
inline std::vector<std::string> ReferenceDateList(const std::vector<std::string>& records) {
  std::vector<std::string> dates;
  for (const std::string& record : records) {
    std::string key = krx::DateKey(record);
    if (!ReverseContains(dates, key)) dates.push_back(key);
  }
  return dates;
}

}  // namespace krx_test
