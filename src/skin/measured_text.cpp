#include "skin/measured_text.h"

namespace krx {

namespace {

// How many characters of text[pos, end) fit in `width` pixels.
int CharsThatFit(HDC dc, const std::string& text, size_t pos, size_t end, int width) {
  int fit = 0;
  SIZE size = {0, 0};
  GetTextExtentExPointA(dc, text.c_str() + pos, int(end - pos), width, &fit, nullptr, &size);
  return fit;
}

void BreakParagraph(HDC dc, const std::string& text, size_t pos, size_t end, int width,
                    std::vector<std::string>& lines) {
  if (pos == end) {
    lines.emplace_back();
    return;
  }
  while (pos < end) {
    const size_t fit = size_t(CharsThatFit(dc, text, pos, end, width));
    if (pos + fit >= end) {
      lines.push_back(text.substr(pos, end - pos));
      return;
    }
    size_t cut = pos + fit;  // the first character that does not fit
    size_t next = cut;
    if (text[cut] != ' ') {
      size_t space = cut;
      while (space > pos && text[space - 1] != ' ') --space;
      if (space > pos) {
        cut = space - 1;  // break before the space that ends the last whole word
      } else {
        // One word wider than the line: DrawText keeps it whole (clipped).
        while (cut < end && text[cut] != ' ') ++cut;
      }
      next = cut;
    }
    size_t lineEnd = cut;
    while (lineEnd > pos && text[lineEnd - 1] == ' ') --lineEnd;
    lines.push_back(text.substr(pos, lineEnd - pos));
    if (next < end && text[next] == ' ') ++next;  // the space at a break is dropped
    pos = next;
  }
}

}  // namespace

std::vector<std::string> BreakTextLines(HDC dc, const std::string& text, int width) {
  std::vector<std::string> lines;
  size_t pos = 0;
  for (;;) {
    size_t stop = text.find_first_of("\r\n", pos);
    const size_t end = stop == std::string::npos ? text.size() : stop;
    BreakParagraph(dc, text, pos, end, width, lines);
    if (stop == std::string::npos) break;
    pos = stop + 1;
    if (text[stop] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    if (pos >= text.size()) break;  // a closing line break adds no empty line
  }
  return lines;
}

void DrawMeasuredLines(HDC dc, const std::vector<std::string>& lines, int x, int y, const RECT& clip) {
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  std::vector<INT> ends, advances;
  for (const std::string& line : lines) {
    const int n = int(line.size());
    if (n > 0) {
      ends.assign(size_t(n), 0);
      advances.assign(size_t(n), 0);
      int fit = 0;
      SIZE size = {0, 0};
      GetTextExtentExPointA(dc, line.c_str(), n, 0x7FFFFFFF, &fit, ends.data(), &size);
      for (int i = 0; i < n; ++i) advances[size_t(i)] = ends[size_t(i)] - (i > 0 ? ends[size_t(i - 1)] : 0);
      ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, line.c_str(), UINT(n), advances.data());
    }
    y += metrics.tmHeight;
  }
}

}  // namespace krx
