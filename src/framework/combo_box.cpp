#include "framework/combo_box.h"

namespace krx {

std::string CComboBox::GetLBText(int index) const {
  int length = int(SendMessage(CB_GETLBTEXTLEN, WPARAM(index)));
  if (length <= 0) return std::string();
  std::string text(size_t(length) + 1, '\0');
  int got = int(SendMessage(CB_GETLBTEXT, WPARAM(index), LPARAM(&text[0])));
  text.resize(size_t(got > 0 ? got : 0));
  return text;
}

}  // namespace krx
