// CSkinListBox: filling many lines at once, and the set that answers
// whether the list holds a line.
//
// A sorted, owner-drawn list box pays for every LB_ADDSTRING with a binary
// search of wide-string comparisons, a shift of everything after the new
// line and a WM_MEASUREITEM; with redraw on it also repaints. Tens of
// thousands of lines took seconds. Here the order the list box would make
// is worked out once with the very comparison it uses (CompareStringW with
// NORM_IGNORECASE in the list's locale), and the lines go in at the end
// with LB_INSERTSTRING, which never sorts, not even in an LBS_SORT list; the
// list keeps its style, so a later LB_ADDSTRING still lands in place.
#include <windows.h>

#include <unordered_set>

#include "core/list_box_geometry.h"
#include "core/sorted_list_order.h"
#include "skin/skin_list_box.h"

namespace krx {

namespace {

std::wstring Widen(const std::string& text) {
  const int length = int(strlen(text.c_str()));  // the list box stops at a zero byte too
  if (length == 0) return std::wstring();
  const int wide = MultiByteToWideChar(CP_ACP, 0, text.c_str(), length, nullptr, 0);
  std::wstring out(size_t(wide > 0 ? wide : 0), L'\0');
  if (wide > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), length, &out[0], wide);
  return out;
}

std::string Narrow(const wchar_t* text, int length) {
  if (length <= 0) return std::string();
  const int narrow = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(narrow > 0 ? narrow : 0), '\0');
  if (narrow > 0) WideCharToMultiByte(CP_ACP, 0, text, length, &out[0], narrow, nullptr, nullptr);
  return out;
}

}  // namespace

CSkinListBox::RedrawOff::RedrawOff(CSkinListBox& list) : list_(list) {
  if (list_.redrawOffDepth_++ == 0) list_.SetRedraw(FALSE);
}

CSkinListBox::RedrawOff::~RedrawOff() {
  if (--list_.redrawOffDepth_ == 0) {
    list_.SetRedraw(TRUE);
    list_.Invalidate();
  }
}

std::string CSkinListBox::StoredForm(const std::string& text) {
  const char* bytes = text.c_str();
  size_t length = 0;
  bool plain = true;
  for (; bytes[length] != '\0'; ++length) {
    if (static_cast<unsigned char>(bytes[length]) >= 0x80) plain = false;
  }
  // Plain ASCII comes back as it went in, whatever the code page.
  if (plain) return std::string(bytes, length);
  const std::wstring wide = Widen(text);
  return Narrow(wide.c_str(), int(wide.size()));
}

bool CSkinListBox::Holds(const std::string& text) const {
  if (!mirrorBuilt_) {
    mirror_.clear();
    const int count = GetCount();
    mirror_.reserve(size_t(count > 0 ? count : 0));
    for (int i = 0; i < count; ++i) ++mirror_[GetText(i)];
    mirrorBuilt_ = true;
  }
  return mirror_.count(text) != 0;
}

bool CSkinListBox::MirrorMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      if (!mirrorBuilt_ || !lParam) return false;
      result = Default();
      if (result < 0) return true;
      // A window that comctl32's subclassing made wide gets wide text here.
      if (IsWindowUnicode(m_hWnd)) {
        const wchar_t* wide = reinterpret_cast<const wchar_t*>(lParam);
        ++mirror_[Narrow(wide, int(wcslen(wide)))];
      } else {
        ++mirror_[StoredForm(reinterpret_cast<const char*>(lParam))];
      }
      return true;
    }
    case LB_DELETESTRING: {
      if (!mirrorBuilt_) return false;
      const int index = int(wParam);
      const bool exists = index >= 0 && index < GetCount();
      const std::string gone = exists ? GetText(index) : std::string();
      result = Default();
      if (exists && result != LB_ERR) {
        auto it = mirror_.find(gone);
        if (it != mirror_.end() && --it->second == 0) mirror_.erase(it);
      }
      return true;
    }
    case LB_RESETCONTENT:
      mirror_.clear();  // still true to an empty list
      return false;
    case LB_DIR:
    case LB_ADDFILE:
    case LB_SETCOUNT:
    case WM_DESTROY:
      // Lines we cannot see go in (or the list goes): ask the list again.
      mirror_.clear();
      mirrorBuilt_ = false;
      return false;
    default:
      return false;
  }
}

bool CSkinListBox::SortedOrder(const std::vector<const std::string*>& lines, std::vector<size_t>& order) const {
  std::vector<std::wstring> wide;
  wide.reserve(lines.size());
  for (const std::string* line : lines) wide.push_back(Widen(*line));
  const LCID locale = LCID(SendMessage(LB_GETLOCALE));
  auto compare = [&](size_t a, size_t b) {
    // The list box's own reading of CompareStringW: a failure counts as less.
    switch (CompareStringW(locale, NORM_IGNORECASE, wide[a].c_str(), -1, wide[b].c_str(), -1)) {
      case CSTR_EQUAL:
        return 0;
      case CSTR_GREATER_THAN:
        return 1;
      default:
        return -1;
    }
  };
  return SortedListOrder(lines.size(), compare, order);
}

int CSkinListBox::AddLines(const std::vector<std::string>& lines, bool skipHeld) {
  std::vector<const std::string*> adding;
  adding.reserve(lines.size());
  if (skipHeld) {
    std::unordered_set<std::string> added;  // as the list will give them back
    for (const std::string& line : lines) {
      if (Holds(line) || added.count(line)) continue;
      added.insert(StoredForm(line));
      adding.push_back(&line);
    }
  } else {
    for (const std::string& line : lines) adding.push_back(&line);
  }
  if (adding.empty()) return 0;

  RedrawOff quiet(*this);
  const DWORD style = GetStyle();
  const bool variable = (style & LBS_OWNERDRAWVARIABLE) != 0;
  const bool hasStrings = (style & LBS_HASSTRINGS) || !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE));
  std::vector<size_t> order;
  const bool presorted = (style & LBS_SORT) && hasStrings && GetCount() == 0 && SortedOrder(adding, order);
  if (variable) bulkItemHeight_ = ListItemHeight(itemHeight_, MeasureText("W"));
  size_t bytes = 0;
  for (const std::string* line : adding) bytes += line->size() + 1;
  SendMessage(LB_INITSTORAGE, WPARAM(adding.size()), LPARAM(bytes));
  int added = 0;
  for (size_t k = 0; k < adding.size(); ++k) {
    const std::string& line = presorted ? *adding[order[k]] : *adding[k];
    const LRESULT at = presorted ? SendMessage(LB_INSERTSTRING, WPARAM(-1), LPARAM(line.c_str()))
                                 : SendMessage(LB_ADDSTRING, 0, LPARAM(line.c_str()));
    if (at >= 0) ++added;
  }
  bulkItemHeight_ = 0;
  return added;
}

}  // namespace krx
