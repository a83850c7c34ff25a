#include "core/item_text.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "core/manager_views.h"
#include "core/record_text.h"

namespace krx {

namespace {

// Text from a position that may lie before the start or past the end.
std::string From(const std::string& text, long long pos) {
  if (pos < 0) pos = 0;
  if (pos >= static_cast<long long>(text.size())) return std::string();
  return text.substr(static_cast<size_t>(pos));
}

long long IndexOf(const std::string& text, const char* what) {
  size_t at = text.find(what);
  return at == std::string::npos ? -1 : static_cast<long long>(at);
}

}  // namespace

std::string LogAddress(const std::string& line) {
  std::string rest = From(line, IndexOf(line, ">") + 2);
  size_t dash = rest.find(" - ");
  if (dash == std::string::npos) return std::string();
  return rest.substr(0, dash);
}

std::string CacheAddress(const std::string& line) {
  size_t at = line.find('@');
  return at == std::string::npos ? line : line.substr(at + 1);
}

std::string FlashFile(const std::string& line) { return From(line, IndexOf(line, " - ") + 3); }

std::string VisitTarget(int view, const std::string& line) {
  switch (view) {
    case IDC_TAB_VISIT:
    case IDC_TAB_BLOCK:
    case IDC_TAB_MEDIA:
      return LogAddress(line);
    case IDC_TAB_WHITE:
    case IDC_TAB_FORBID:
      return line;
    case IDC_TAB_CACHE:
      if (line.find('@') != std::string::npos) return "http://" + CacheAddress(line);
      return line;
    default:  // the flash view plays its files in the window instead
      return std::string();
  }
}

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string TrimBlanks(const std::string& text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

}  // namespace

bool IsOpenableAddress(int view, const std::string& text) {
  static const char* const kWeb[] = {"http", "https", "ftp"};
  static const char* const kMedia[] = {"mms", "rtsp"};
  const size_t colon = text.find("://");
  if (colon == std::string::npos || colon + 3 >= text.size()) return false;
  // A quote or a control character could end the address where the shell
  // builds the browser's command line, and no web address holds one raw.
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < ' ' || u == 0x7F || c == '"') return false;
  }
  const std::string scheme = LowerAnsi(text.substr(0, colon));
  auto listed = [&scheme](const char* const* names, size_t count) {
    return std::any_of(names, names + count, [&scheme](const char* name) { return scheme == name; });
  };
  if (listed(kWeb, 3)) return true;
  return view == IDC_TAB_MEDIA && listed(kMedia, 2);
}

bool IsWebAddress(const std::string& text) { return IsOpenableAddress(IDC_TAB_VISIT, text); }

FlashSource FlashSourceOf(const std::string& file) {
  const std::string text = TrimBlanks(file);
  if (text.empty()) return FlashSource::kNothing;
  auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  if (text.size() > 3 && isLetter(text[0]) && text[1] == ':' && (text[2] == '\\' || text[2] == '/')) {
    return FlashSource::kLocalFile;
  }
  return IsWebAddress(text) ? FlashSource::kWebAddress : FlashSource::kRefused;
}

std::string FlashSaveName(const std::string& file) {
  std::string name = TrimBlanks(file);
  if (FlashSourceOf(name) == FlashSource::kWebAddress) name = name.substr(0, name.find_first_of("?#"));
  const size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  // The cache keeps "intro.swf" as "intro[1].swf".
  const size_t dot = name.rfind('.'), end = dot == std::string::npos ? name.size() : dot;
  const size_t open = name.rfind('[', end);
  if (open != std::string::npos && end > open + 2 && name[end - 1] == ']' &&
      name.find_first_not_of("0123456789", open + 1) == end - 1) {
    name.erase(open, end - open);
  }
  return name;
}

VisitPlan PlanVisit(int view, const std::string& line) {
  VisitPlan plan;
  const std::string target = TrimBlanks(VisitTarget(view, line));
  if (target.empty()) return plan;
  plan.kind = IsOpenableAddress(view, target) ? VisitPlan::kOpen : VisitPlan::kRefused;
  if (plan.kind == VisitPlan::kOpen) plan.target = target;
  return plan;
}

const char* VisitRefusedText(int view) {
  return view == IDC_TAB_MEDIA ? "The line holds no web or media address." : "The line holds no web address.";
}

std::string ListAddress(int view, const std::string& line) {
  return view == IDC_TAB_CACHE ? CacheAddress(line) : LogAddress(line);
}

void RemoveFirstOfEach(std::vector<std::string>& array, const std::vector<std::string>& texts) {
  if (texts.empty()) return;
  // Removing the first equal element k times removes the first k equal
  // elements, whatever order the texts come in.
  std::unordered_map<std::string, size_t> pending;
  for (const std::string& t : texts) ++pending[t];
  size_t kept = 0;
  for (size_t i = 0; i < array.size(); ++i) {
    auto it = pending.find(array[i]);
    if (it != pending.end() && it->second > 0) {
      --it->second;
      continue;
    }
    if (kept != i) array[kept] = std::move(array[i]);
    ++kept;
  }
  array.resize(kept);
}

void RemoveDeletedLines(int view, std::vector<std::string>& collection, const std::vector<std::string>& lines) {
  if (!IsListView(view)) {
    RemoveFirstOfEach(collection, lines);
    return;
  }
  const std::unordered_set<std::string> gone(lines.begin(), lines.end());
  collection.erase(std::remove_if(collection.begin(), collection.end(),
                                  [&gone](const std::string& entry) { return gone.count(entry) != 0; }),
                   collection.end());
}

size_t RemoveRecordsOfDay(std::vector<std::string>& records, const std::string& date) {
  const size_t before = records.size();
  records.erase(std::remove_if(records.begin(), records.end(),
                               [&date](const std::string& record) { return DateKeyView(record) == date; }),
                records.end());
  return before - records.size();
}

void ReplaceListEntry(std::vector<std::string>& list, const std::string& old, const std::string& replacement) {
  list.erase(std::remove(list.begin(), list.end(), old), list.end());
  list.push_back(replacement);
}

std::string LowerAnsi(std::string text) {
  for (char& c : text) {
    unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7)) {
      u = static_cast<unsigned char>(u + 0x20);
    } else if (u == 0x8A || u == 0x8C || u == 0x8E) {  // S, OE and Z with marks
      u = static_cast<unsigned char>(u + 0x10);
    } else if (u == 0x9F) {  // Y with diaeresis
      u = 0xFF;
    }
    c = static_cast<char>(u);
  }
  return text;
}

LineMatcher::LineMatcher(const std::string& text, int caseSetting)
    : wanted_(caseSetting == 1 ? text : LowerAnsi(text)), exact_(caseSetting == 1) {}

bool LineMatcher::operator()(std::string_view line) const {
  if (exact_) return line.find(wanted_) != std::string_view::npos;
  if (wanted_.empty()) return true;
  if (line.size() < wanted_.size()) return false;
  static const std::string lower = [] {
    std::string table(256, '\0');
    for (int i = 0; i < 256; ++i) table[static_cast<size_t>(i)] = static_cast<char>(i);
    return LowerAnsi(table);
  }();
  const auto low = [](char c) { return lower[static_cast<unsigned char>(c)]; };
  const size_t last = line.size() - wanted_.size();
  for (size_t i = 0; i <= last; ++i) {
    if (low(line[i]) != wanted_[0]) continue;
    size_t k = 1;
    while (k < wanted_.size() && low(line[i + k]) == wanted_[k]) ++k;
    if (k == wanted_.size()) return true;
  }
  return false;
}

FindResult FindNext(int count, const std::function<std::string(int)>& lineAt, const std::string& text, int focused,
                    int caseSetting) {
  const LineMatcher matches(text, caseSetting);
  const int start = focused < 0 ? 0 : focused;
  FindResult result;
  for (int i = 0; i < count; ++i) {
    if (!matches(lineAt(i))) continue;
    if (result.line < 0) {
      result.kind = FindResult::kAskWrap;
      result.line = i;
    }
    if (i > start) return FindResult{FindResult::kNext, i};
  }
  return result;
}

FindResult FindNext(const std::vector<std::string>& lines, const std::string& text, int focused, int caseSetting) {
  return FindNext(
      static_cast<int>(lines.size()), [&lines](int i) { return lines[static_cast<size_t>(i)]; }, text, focused,
      caseSetting);
}

int FirstMatchFrom(int count, const std::function<std::string(int)>& lineAt, const std::string& text, int from,
                   int caseSetting) {
  const LineMatcher matches(text, caseSetting);
  for (int i = from < 0 ? 0 : from; i < count; ++i) {
    if (matches(lineAt(i))) return i;
  }
  return -1;
}

std::unordered_set<std::string> DaysContaining(const std::vector<std::string>& records, const std::string& text,
                                               int caseSetting) {
  const LineMatcher matches(text, caseSetting);
  std::unordered_set<std::string> days;
  for (const std::string& record : records) {
    const std::string_view day = DateKeyView(record);
    if (days.count(std::string(day))) continue;
    if (matches(record)) days.emplace(day);
  }
  return days;
}

}  // namespace krx
