#include "framework/dialog_template.h"

#include "framework/ansi_text.h"

namespace krx {

DialogTemplate::DialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy,
                               const std::string& title, const char* fontName, WORD pointSize) {
  if (fontName) style |= DS_SETFONT;
  AddDword(style);
  AddDword(exStyle);
  words_.push_back(0);  // control count, raised by AddControl
  words_.push_back(WORD(x));
  words_.push_back(WORD(y));
  words_.push_back(WORD(cx));
  words_.push_back(WORD(cy));
  words_.push_back(0);  // no menu
  words_.push_back(0);  // the default dialog class
  AddString(title);
  if (style & DS_SETFONT) {
    words_.push_back(pointSize);
    AddString(fontName ? fontName : "");
  }
}

void DialogTemplate::AddControl(const char* className, const std::string& text, DWORD style, DWORD exStyle,
                                short x, short y, short cx, short cy, WORD id) {
  AlignToDword();
  AddDword(style);
  AddDword(exStyle);
  words_.push_back(WORD(x));
  words_.push_back(WORD(y));
  words_.push_back(WORD(cx));
  words_.push_back(WORD(cy));
  words_.push_back(id);
  AddString(className);
  AddString(text);
  words_.push_back(0);  // no creation data
  words_[4] = WORD(words_[4] + 1);
}

void DialogTemplate::AlignToDword() {
  if (words_.size() % 2) words_.push_back(0);
}

void DialogTemplate::AddDword(DWORD value) {
  words_.push_back(LOWORD(value));
  words_.push_back(HIWORD(value));
}

void DialogTemplate::AddString(const std::string& text) {
  for (wchar_t c : AnsiToWide(text)) words_.push_back(WORD(c));
  words_.push_back(0);
}

}  // namespace krx
