#pragma once
// CSkinListBox: an owner-drawn list box (LBS_OWNERDRAWFIXED or VARIABLE with
// LBS_HASSTRINGS) that paints its selection in theme colours.
//
//   CSkinListBox list;
//   list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY,
//               rect, dialog, 1005);
//   list.SetSelectionBackground(theme[5]);
#include <string>
#include <unordered_map>
#include <vector>

#include "framework/list_box.h"

namespace krx {

class CSkinListBox : public CListBox {
 public:
  BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, DWORD exStyle = 0);
  BOOL SubclassDlgItem(UINT id, HWND parent);

  void SetSelectionBackground(COLORREF colour) { selectionBack_ = colour; }
  void SetSelectionFrame(COLORREF colour) { selectionFrame_ = colour; }
  void SetSelectionText(COLORREF colour) { selectionText_ = colour; }
  // 0 measures every item; otherwise every item gets this height.
  void SetItemHeight(int height);
  void ResetContent();
  // The widest text (in the list box's font) + 10 becomes the scrolling width.
  void UpdateHorizontalExtent();
  int GetLastSelection() const { return lastSelection_; }
  // LB_SETCURSEL (SetCurSel) works in a list of several selections too,
  // where the list box itself refuses it: the line is selected alone and
  // gets the focus and the anchor, so a later Shift+click spans from it; -1
  // selects none.

  // ---- Filling many lines at once (skin_list_fill.cpp) ----
  // Redraw is off while one of these lives (they nest); the list repaints
  // once when the outermost ends.
  class RedrawOff {
   public:
    explicit RedrawOff(CSkinListBox& list);
    ~RedrawOff();
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

   private:
    CSkinListBox& list_;
  };
  // Adds lines with the result of LB_ADDSTRING line by line: same lines,
  // same order, same heights. Into an empty sorted list they go at the end
  // in the list's own order, worked out beforehand, so the list box neither
  // searches nor shifts per line. With skipHeld, a line the list already
  // holds (also one added earlier in this call) is left out. Returns how
  // many lines were added.
  int AddLines(const std::vector<std::string>& lines, bool skipHeld);
  // Adds lines at the end in the order given, which the caller knows to be
  // the list's own (lines it had before, some of them left out): no sorting,
  // no search, redraw off until the last. Returns how many were added.
  int AppendLines(const std::vector<const std::string*>& lines);
  // Adds blocks of lines after each other at the end, each block in the
  // order the list would give its lines (a sorted list sorts each block
  // within itself, not the blocks among each other).
  int AppendBlocks(const std::vector<std::vector<std::string>>& blocks);
  // True when a line of the list equals text byte for byte: the answer of a
  // scan over the lines, from a set that mirrors them (built at the first
  // question, then kept up to date by every change to the list).
  bool Holds(const std::string& text) const;
  // What the list gives back for a line added as text: the list keeps wide
  // text, so the line is cut at its first zero byte and passes through the
  // ANSI code page both ways.
  static std::string StoredForm(const std::string& text);
  // Moves on with every message that may change the lines: a copy of them
  // taken at one generation is still true while the generation is the same.
  unsigned Generation() const { return generation_; }

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnReflect(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  virtual void DrawItem(const DRAWITEMSTRUCT& item);
  virtual void MeasureItem(MEASUREITEMSTRUCT& item);

 private:
  int MeasureText(const std::string& text) const;
  // LB_SETCURSEL's answer in a list of several selections.
  int SelectAlone(int index);
  // A fixed-height list box asks its height while it is created, before it
  // is ours; we set it right after.
  void ApplyFixedHeight();
  // Keeps the mirror of Holds in step with the list; true when it answered
  // the message itself.
  bool MirrorMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // The list's order for lines added one by one to it while empty; false
  // when it cannot be worked out here.
  bool SortedOrder(const std::vector<const std::string*>& lines, std::vector<size_t>& order) const;
  // The fill of AddLines and AppendLines: inOrder, the lines go at the end
  // as given; otherwise as LB_ADDSTRING would place them.
  int InsertLines(const std::vector<const std::string*>& adding, bool inOrder);

  COLORREF background_ = RGB(255, 255, 255);
  COLORREF selectionBack_ = RGB(100, 150, 200);
  COLORREF selectionFrame_ = RGB(180, 220, 250);
  COLORREF selectionText_ = RGB(255, 255, 255);
  int itemHeight_ = 0;
  int lastSelection_ = -1;
  // While AddLines runs every line has the same measured height: the text
  // height of the plain DC's font does not depend on the text.
  int bulkItemHeight_ = 0;
  int redrawOffDepth_ = 0;
  unsigned generation_ = 0;
  // True while the horizontal extent set last still fits the lines: a fill
  // into an empty list measures its lines on the side and sets it at once.
  bool extentCurrent_ = false;
  mutable bool mirrorBuilt_ = false;
  mutable std::unordered_map<std::string, int> mirror_;  // line -> how many times listed
};

}  // namespace krx
