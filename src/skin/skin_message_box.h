#pragma once
// The program's notices and yes/no questions, in the caller's theme:
//
//   SkinMessageBox("The list was saved.", theme);
//   if (SkinYesNoBox("Delete the selected items?", theme)) ...
//
// Both run modally, owned by this thread's active window.
#include <string>

namespace krx {

void SkinMessageBox(const std::string& text, int theme);

// TRUE when answered "&Yes" (or Enter); FALSE for "&No" or Escape.
int SkinYesNoBox(const std::string& text, int theme);

}  // namespace krx
