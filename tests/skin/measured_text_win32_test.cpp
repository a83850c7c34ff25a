// Lines broken for self-drawn text: no more than DrawText's word break
// gives (the message box is as tall as DrawText says), each within the
// width unless it is one word too long for any line, and no character lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/measured_text.h"

namespace {

TEST(MeasuredText, BreaksLinesAsDrawTextDoes) {
  HDC dc = GetDC(nullptr);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "Tahoma");
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICA metrics = {};
  GetTextMetricsA(dc, &metrics);
  const std::vector<std::string> texts = {
      "one",
      "Can not connect to 127.0.0.1:34357, Please check your network connection.",
      "a b c d e f g h i j k l m n o p q r s t u v w x y z a b c d e f g h i j k l m n o p",
      "Averyveryverylongwordthatfitsonnolineatall and then some words after it",
      "Line one\nLine two\r\nLine three\rLine four",
      "spaces    between   words  and at the end   ",
      "a closing line break\n",
      "\n\nafter two empty lines",
      "exactly-fitting words break where the space is",
      "http://www.example.com/updates/krx.exe?from=1.30 could-not-be-read",
  };
  for (int width : {40, 90, 150, 300, 440}) {
    for (const std::string& text : texts) {
      SCOPED_TRACE(text + " in " + std::to_string(width));
      const std::vector<std::string> lines = krx::BreakTextLines(dc, text, width);
      RECT r = {0, 0, width, 4000};
      DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
      std::string all;
      for (const std::string& line : lines) all += "[" + line + "]";
      EXPECT_LE(int(lines.size()) * metrics.tmHeight, r.bottom) << all;
      EXPECT_GE(int(lines.size()) * metrics.tmHeight, r.bottom - 2 * metrics.tmHeight);
      std::string shown, given;
      for (const std::string& line : lines) shown += line;
      for (char c : text)
        if (c != ' ' && c != '\r' && c != '\n') given += c;
      shown.erase(std::remove(shown.begin(), shown.end(), ' '), shown.end());
      EXPECT_EQ(shown, given);
      for (const std::string& line : lines) {
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, line.c_str(), int(line.size()), &size);
        if (line.find(' ') != std::string::npos) {
          EXPECT_LE(size.cx, width) << line;
        }
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos);
      }
    }
  }
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
}

}  // namespace
