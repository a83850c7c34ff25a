#include "framework/list_box.h"

namespace krx {

std::vector<int> CListBox::GetSelItems() const {
  int count = GetSelCount();
  std::vector<int> items(size_t(count > 0 ? count : 0));
  if (!items.empty()) {
    int got = int(SendMessage(LB_GETSELITEMS, WPARAM(items.size()), LPARAM(items.data())));
    items.resize(size_t(got > 0 ? got : 0));
  }
  return items;
}

std::string CListBox::GetText(int index) const {
  int length = GetTextLen(index);
  if (length <= 0) return std::string();
  std::string text(size_t(length) + 1, '\0');
  int got = int(SendMessage(LB_GETTEXT, WPARAM(index), LPARAM(&text[0])));
  text.resize(size_t(got > 0 ? got : 0));
  return text;
}

}  // namespace krx
