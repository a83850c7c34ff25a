#include "manager/dialog_buttons.h"

namespace krx {

void CreateDialogButtons(CSkinDialog& dialog, std::initializer_list<DialogButton> buttons) {
  for (const DialogButton& b : buttons) {
    b.button.Create(b.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, b.rect, dialog.m_hWnd, b.id);
    b.button.SetFont(dialog.NormalFont());
    b.button.SetTheme(dialog.GetTheme());
  }
}

}  // namespace krx
