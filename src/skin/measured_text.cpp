#include "skin/measured_text.h"

#include <algorithm>

namespace krx {

namespace {

// Where a line may end: before a space, and after a space or one of the
// signs after which the system's word break may also end a line (Wine's
// does after a hyphen or a slash, for one; Windows' at spaces only).
// Ending lines in more places than the system never takes more lines than
// its DT_CALCRECT height holds.
bool MayBreakAfter(char c) {
  switch (c) {
    case ' ': case '-': case '/': case '\\': case '?': case '!': case '%': case '+': case '|':
      return true;
    default:
      return false;
  }
}

void BreakParagraph(HDC dc, const std::string& text, size_t pos, size_t end, int width,
                    std::vector<std::string>& lines) {
  if (pos == end) {
    lines.emplace_back();
    return;
  }
  while (pos < end) {
    int fit = 0;
    SIZE size = {0, 0};
    GetTextExtentExPointA(dc, text.c_str() + pos, int(end - pos), width, &fit, nullptr, &size);
    size_t cut = pos + size_t(fit);  // the first character that does not fit
    if (cut >= end) {
      lines.push_back(text.substr(pos, end - pos));
      return;
    }
    while (cut > pos && text[cut] != ' ' && !MayBreakAfter(text[cut - 1])) --cut;
    if (cut == pos) {
      // One word wider than the line: it stays whole, as DrawText keeps it.
      cut = text.find(' ', pos + size_t(fit));
      if (cut == std::string::npos || cut > end) cut = end;
    }
    size_t lineEnd = cut;
    while (lineEnd > pos && text[lineEnd - 1] == ' ') --lineEnd;
    lines.push_back(text.substr(pos, lineEnd - pos));
    pos = cut;
    while (pos < end && text[pos] == ' ') ++pos;  // spaces at a break show on no line
  }
}

}  // namespace

std::vector<std::string> BreakTextLines(HDC dc, const std::string& text, int width) {
  std::vector<std::string> lines;
  size_t pos = 0;
  for (;;) {
    const size_t stop = text.find_first_of("\r\n", pos);
    const size_t end = stop == std::string::npos ? text.size() : stop;
    BreakParagraph(dc, text, pos, end, width, lines);
    if (stop == std::string::npos) break;
    pos = stop + 1;
    // CR LF and LF CR are one line break.
    if (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n') && text[pos] != text[stop]) ++pos;
    if (pos >= text.size()) break;  // a closing line break adds no line
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

void DrawFittedLine(HDC dc, const std::string& line, int x, int y, int width, const RECT& clip) {
  const int n = int(line.size());
  if (n == 0 || width <= 0) return;
  std::vector<INT> ends(size_t(n), 0), advances(size_t(n), 0);
  int fit = 0;
  SIZE size = {0, 0};
  GetTextExtentExPointA(dc, line.c_str(), n, 0x7FFFFFFF, &fit, ends.data(), &size);
  // Each end scaled to the width, so the rounding never adds up past it.
  const long long total = ends[size_t(n - 1)];
  int previous = 0;
  for (int i = 0; i < n; ++i) {
    const int end = total > width ? int(ends[size_t(i)] * (long long)width / total) : ends[size_t(i)];
    advances[size_t(i)] = end - previous;
    previous = end;
  }
  ExtTextOutA(dc, x, y, ETO_CLIPPED, &clip, line.c_str(), UINT(n), advances.data());
}

int DrawnOverhang(HFONT font, const std::string& text) {
  if (text.empty()) return 0;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  ReleaseDC(nullptr, screen);
  if (!dc) return 0;
  HGDIOBJ oldFont = SelectObject(dc, font ? HGDIOBJ(font) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
  // Room for the text and as much again to its right, where a drift shows.
  const int margin = 8, width = extent.cx * 2 + 2 * margin, height = extent.cy + 2 * margin;
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  int overhang = 0;
  if (bitmap && bits) {
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    RECT at = {margin, margin, width, height};
    DrawTextA(dc, text.c_str(), int(text.size()), &at, DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    GdiFlush();
    const auto* pixels = static_cast<const DWORD*>(bits);
    int last = -1;
    for (int y = 0; y < height; ++y)
      for (int x = width - 1; x > last; --x)
        if ((pixels[size_t(y) * size_t(width) + size_t(x)] & 0xFFFFFF) != 0xFFFFFF) last = x;
    overhang = last < 0 ? 0 : std::max(0, last + 1 - (margin + int(extent.cx)));
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
  }
  SelectObject(dc, oldFont);
  DeleteDC(dc);
  return overhang;
}

}  // namespace krx
