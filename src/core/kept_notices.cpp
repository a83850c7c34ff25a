#include "core/kept_notices.h"

namespace krx {

std::vector<std::string> KeptNoticeLogLines(const std::string& notice) {
  std::vector<std::string> lines;
  size_t from = 0;
  while (from <= notice.size()) {
    size_t end = notice.find('\n', from);
    if (end == std::string::npos) end = notice.size();
    lines.push_back(kKeptNoticePrefix + notice.substr(from, end - from));
    from = end + 1;
  }
  return lines;
}

std::string KeptNoticesOf(std::string_view log) {
  const std::string_view prefix(kKeptNoticePrefix);
  std::string kept;
  size_t from = 0;
  while (from < log.size()) {
    size_t end = log.find('\n', from);
    if (end == std::string_view::npos) end = log.size();
    std::string_view line = log.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line == kKeptNoticesShown) {
      kept.clear();
    } else if (line.substr(0, prefix.size()) == prefix) {
      kept.append(line.substr(prefix.size())).push_back('\n');
    }
    from = end + 1;
  }
  if (!kept.empty()) kept.pop_back();
  return kept;
}

std::string KeptNoticesBoxText(const std::string& kept) {
  return "When Windows ended the last session, Kestrelix could not show this:\n" + kept;
}

}  // namespace krx
