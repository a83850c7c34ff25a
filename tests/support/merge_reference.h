#pragma once
// The merge written the plain way: cut each line with a character-by-
// character search for CR LF from the third byte of what is left, then look
// for it in the collection from the newest record back. Slow (quadratic) and
// obviously right; the indexed merge must give exactly its result.
#include <string>
#include <vector>

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

inline void ReferenceMerge(const std::string& fileText, std::vector<std::string>& records,
                           bool (*isLead)(unsigned char) = nullptr) {
  std::string rest = fileText;
  while (!rest.empty()) {
    size_t end = std::string::npos;
    if (rest.size() >= 2) end = ReferenceFindCrLf(rest, 2, isLead);
    std::string line = end == std::string::npos ? rest : rest.substr(0, end);
    if (!line.empty()) {
      bool present = false;
      for (size_t i = records.size(); i-- > 0;) {
        if (records[i] == line) {
          present = true;
          break;
        }
      }
      if (!present) records.push_back(line);
    }
    if (end == std::string::npos) break;
    rest = rest.substr(end + 2);
  }
}

}  // namespace krx_test
