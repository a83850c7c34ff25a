#pragma once
// The system message box with the product name as caption, the program's
// icon and one OK button. Only two texts go through it: the cipher's
// "parameter error" and the folder-creation error; everything else the user
// is told comes through the skinned message box.
#include <string>

typedef struct HWND__* HWND;

namespace krx {

void PlainMessageBox(const std::string& text, HWND owner);

// Routes the record cipher's "parameter error" to PlainMessageBox with no owner.
void InstallParameterErrorBox();

}  // namespace krx
