#pragma once
// Builds a dialog template (DLGTEMPLATE and its items) in memory, for dialogs
// that have no resource:
//
//   DialogTemplate t(WS_POPUP | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME, 0,
//                    0, 0, 187, 99, "", "Tahoma", 9);
//   t.AddControl("BUTTON", "&OK", WS_CHILD | WS_VISIBLE, 0, 10, 10, 50, 14, IDOK);
//   dialog.CreateIndirect(t.Get(), parent);
//
// Coordinates are dialog units; texts are ANSI and converted for the template.
#include <windows.h>

#include <string>
#include <vector>

namespace krx {

class DialogTemplate {
 public:
  // fontName null: no DS_SETFONT font block (the style decides).
  DialogTemplate(DWORD style, DWORD exStyle, short x, short y, short cx, short cy, const std::string& title,
                 const char* fontName = nullptr, WORD pointSize = 0);

  void AddControl(const char* className, const std::string& text, DWORD style, DWORD exStyle, short x, short y,
                  short cx, short cy, WORD id);

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
  size_t SizeInBytes() const { return words_.size() * sizeof(WORD); }

 private:
  void AlignToDword();
  void AddDword(DWORD value);
  void AddString(const std::string& text);

  std::vector<WORD> words_;
};

}  // namespace krx
