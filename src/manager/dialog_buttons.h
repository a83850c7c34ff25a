#pragma once
// The row of skinned push buttons under the login and change-password
// dialogs: each in the dialog's font and theme, tab stops in the given order.
#include <windows.h>

#include <initializer_list>

#include "skin/mac_button.h"
#include "skin/skin_dialog.h"

namespace krx {

struct DialogButton {
  CMacButton& button;
  const char* text;
  RECT rect;
  UINT id;
};

void CreateDialogButtons(CSkinDialog& dialog, std::initializer_list<DialogButton> buttons);

}  // namespace krx
