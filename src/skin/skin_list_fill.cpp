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
//
// What is left per line is the list box's own work and its WM_MEASUREITEM
// to the owner, which the window layer reflects to this list: every line
// measures the same while the fill runs, so the height is worked out once.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <thread>
#include <unordered_set>

#include "core/list_box_geometry.h"
#include "core/sorted_list_order.h"
#include "framework/ansi_text.h"
#include "framework/gdi.h"
#include "skin/skin_list_box.h"

namespace krx {

namespace {

// The list box keeps wide text and stops at a zero byte, as the line will.
std::wstring Widen(const std::string& text) { return AnsiToWide(text.c_str(), strlen(text.c_str())); }

// The text widths of lines as the list will hold them, in a font, measured
// on a thread of its own with a DC of its own while the list fills: the
// measuring costs about as much as the filling, and the machine has more
// than one core.
class WidthMeasurer {
 public:
  WidthMeasurer(HFONT font, const std::vector<const std::string*>& lines) {
    worker_ = std::thread([this, font, &lines] {
      CMemDC dc(nullptr);
      CSelect useFont(dc, font);
      widths_.reserve(lines.size());
      for (const std::string* line : lines) {
        const std::string text = CSkinListBox::StoredForm(*line);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &size);
        widths_.push_back(size.cx);
      }
    });
  }
  ~WidthMeasurer() {
    if (worker_.joinable()) worker_.join();
  }
  WidthMeasurer(const WidthMeasurer&) = delete;
  WidthMeasurer& operator=(const WidthMeasurer&) = delete;
  const std::vector<int>& Widths() {
    if (worker_.joinable()) worker_.join();
    return widths_;
  }

 private:
  std::vector<int> widths_;
  std::thread worker_;
};

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
  return WideToAnsi(wide.c_str(), wide.size());
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
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_DIR:
    case LB_ADDFILE:
    case LB_SETCOUNT:
      ++generation_;
      extentCurrent_ = false;
      break;
    case WM_SETFONT:
      extentCurrent_ = false;
      break;
    default:
      break;
  }
  switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING: {
      if (!mirrorBuilt_ || !lParam) return false;
      result = Default();
      if (result < 0) return true;
      // The layer's procedure is ANSI: the text is, whoever sent it.
      ++mirror_[StoredForm(reinterpret_cast<const char*>(lParam))];
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
  // Sorting with CompareStringW itself costs a few microseconds a call under
  // Wine; sort keys of the same locale and flags give a first order that
  // CompareStringW then only checks, pair by pair.
  std::vector<std::string> keys(lines.size());
  constexpr DWORD kKeyFlags = LCMAP_SORTKEY | NORM_IGNORECASE;
  std::string buffer;
  for (size_t i = 0; i < lines.size(); ++i) {
    // One call into a buffer that is almost always big enough; asking the
    // size first would double the calls, and they are most of the sorting.
    const size_t room = wide[i].size() * 8 + 64;
    if (buffer.size() < room) buffer.resize(room);
    int size = LCMapStringW(locale, kKeyFlags, wide[i].c_str(), -1, reinterpret_cast<LPWSTR>(&buffer[0]),
                            int(buffer.size()));
    if (size <= 0) {
      size = LCMapStringW(locale, kKeyFlags, wide[i].c_str(), -1, nullptr, 0);
      if (size <= 0) return SortedListOrder(lines.size(), compare, order);
      buffer.resize(size_t(size));
      size = LCMapStringW(locale, kKeyFlags, wide[i].c_str(), -1, reinterpret_cast<LPWSTR>(&buffer[0]), size);
      if (size <= 0) return SortedListOrder(lines.size(), compare, order);
    }
    keys[i].assign(buffer.data(), size_t(size));
  }
  std::vector<size_t> guess(lines.size());
  for (size_t i = 0; i < guess.size(); ++i) guess[i] = i;
  std::stable_sort(guess.begin(), guess.end(), [&](size_t a, size_t b) { return keys[a] < keys[b]; });
  return SortedListOrder(lines.size(), compare, order, &guess);
}

// Below this many lines the measuring thread costs more than it saves.
constexpr size_t kMeasureAside = 256;

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
  return InsertLines(adding, false);
}

int CSkinListBox::AppendLines(const std::vector<const std::string*>& lines) {
  if (lines.empty()) return 0;
  return InsertLines(lines, true);
}

int CSkinListBox::AppendBlocks(const std::vector<std::vector<std::string>>& blocks) {
  const DWORD style = GetStyle();
  const bool sorted = (style & LBS_SORT) && ((style & LBS_HASSTRINGS) || !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)));
  std::vector<const std::string*> all;
  size_t total = 0;
  for (const auto& block : blocks) total += block.size();
  all.reserve(total);
  for (const auto& block : blocks) {
    std::vector<const std::string*> lines;
    lines.reserve(block.size());
    for (const std::string& line : block) lines.push_back(&line);
    std::vector<size_t> order;
    if (sorted && SortedOrder(lines, order)) {
      for (size_t k : order) all.push_back(lines[k]);
    } else {
      // Not to be worked out here: the block keeps its own order.
      all.insert(all.end(), lines.begin(), lines.end());
    }
  }
  if (all.empty()) return 0;
  return InsertLines(all, true);
}

int CSkinListBox::InsertLines(const std::vector<const std::string*>& adding, bool inOrder) {
  RedrawOff quiet(*this);
  // Into an empty list the added lines are all its lines: their widths give
  // the horizontal extent, measured while they go in.
  const bool wasEmpty = GetCount() == 0;
  std::unique_ptr<WidthMeasurer> widths;
  if (wasEmpty && adding.size() >= kMeasureAside) widths = std::make_unique<WidthMeasurer>(GetFont(), adding);
  extentCurrent_ = false;
  const DWORD style = GetStyle();
  const bool variable = (style & LBS_OWNERDRAWVARIABLE) != 0;
  const bool hasStrings = (style & LBS_HASSTRINGS) || !(style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE));
  std::vector<size_t> order;
  if (inOrder) {
    order.resize(adding.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  }
  const bool presorted = inOrder || ((style & LBS_SORT) && hasStrings && wasEmpty && SortedOrder(adding, order));
  // Every line measures the same: the text height of the plain DC's font.
  bulkItemHeight_ = variable ? ListItemHeight(itemHeight_, MeasureText("W")) : 0;
  size_t bytes = 0;
  for (const std::string* line : adding) bytes += line->size() + 1;
  SendMessage(LB_INITSTORAGE, WPARAM(adding.size()), LPARAM(bytes));
  // A variable-height list finds a new line's place on screen by adding up
  // the heights of every line from the top one down to it: lines added at
  // the end of a long list cost more and more. Keeping the top line close
  // to the end while lines go there keeps that walk short; the top line is
  // put back afterwards, where adding line by line would have left it.
  const bool atEnd = presorted || !(style & LBS_SORT);
  const int top = GetTopIndex();
  constexpr size_t kTopStride = 256;
  int added = 0;
  for (size_t k = 0; k < adding.size(); ++k) {
    const std::string& line = presorted ? *adding[order[k]] : *adding[k];
    // Through the layer: the mirror hears of each line.
    const int at = presorted ? InsertString(-1, line) : AddString(line);
    if (at < 0) continue;
    ++added;
    if (variable && atEnd && k % kTopStride == kTopStride - 1) SetTopIndex(at);
  }
  if (variable && atEnd && top >= 0 && GetTopIndex() != top) SetTopIndex(top);
  bulkItemHeight_ = 0;
  if (widths && added == int(adding.size())) {
    SendMessage(LB_SETHORIZONTALEXTENT, WPARAM(ListHorizontalExtent(widths->Widths())));
    extentCurrent_ = true;
  }
  return added;
}

}  // namespace krx
