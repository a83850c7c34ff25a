#pragma once
// CSkinMenu: a popup menu whose items are all owner-drawn: a 16 x 16 icon
// column, a flat background, a framed selection, embossed disabled text, a
// drawn tick for checked items without an icon, and etched separators.
//
//   CSkinMenu menu;
//   menu.CreatePopupMenu();
//   menu.SetBackColour(theme[1]);
//   menu.SetSelectionColours(theme[7], theme[5], theme[4]);
//   menu.AppendItem(MF_OWNERDRAW, 2210, "Restore");
//   menu.AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, "");
//   menu.SetItemIcon(2210, IDI_RESTORE);
//   menu.TrackPopupMenu(TPM_LEFTALIGN, x, y, owner);  // owner is a CWnd
#include <windows.h>

#include <map>
#include <string>

#include "framework/gdi.h"
#include "framework/menu.h"

namespace krx {

class CSkinMenu : public CMenu {
 public:
  CSkinMenu() = default;
  ~CSkinMenu() override;

  // Remembers a non-empty text under id and appends the item. Items pass
  // MF_OWNERDRAW, separators MF_OWNERDRAW | MF_SEPARATOR with id 0.
  BOOL AppendItem(UINT flags, UINT id, const std::string& text);
  // Loads an icon resource at 16 x 16 for the item; the menu owns it.
  BOOL SetItemIcon(UINT id, UINT iconResource);

  void SetBackColour(COLORREF colour) { background_ = colour; }
  void SetSelectionColours(COLORREF text, COLORREF fill, COLORREF frame);
  void SetTextColour(COLORREF colour) { text_ = colour; }
  // Not owned: the caller keeps the font alive while the menu shows.
  void SetFont(HFONT font) { font_ = font; }
  void SetItemHeight(int height) { itemHeight_ = height; }
  void SetItemWidth(int width) { itemWidth_ = width; }
  int GetItemWidth() const { return itemWidth_; }

 protected:
  bool DrawItem(const DRAWITEMSTRUCT& item) override;
  bool MeasureItem(MEASUREITEMSTRUCT& item) override;

 private:
  bool IsSeparator(UINT id) const;
  bool IsDisabled(UINT id) const;
  bool HasIcons() const { return !icons_.empty(); }
  void DrawSeparator(HDC dc, RECT r, COLORREF back) const;
  void DrawLabel(HDC dc, const RECT& r, const std::string& text, COLORREF colour, bool disabled) const;
  void DrawTick(HDC dc, const RECT& item, COLORREF back) const;

  HFONT font_ = nullptr;
  std::map<UINT, std::string> texts_;
  std::map<UINT, CIcon> icons_;
  COLORREF background_ = RGB(224, 223, 227);
  COLORREF text_ = RGB(0, 0, 0);
  COLORREF selectionFill_ = RGB(210, 230, 255);
  COLORREF selectionFrame_ = RGB(80, 100, 180);
  // Callers set it with the other two; black until then rather than
  // whatever happened to be in memory.
  COLORREF selectionText_ = RGB(0, 0, 0);
  int itemWidth_ = 0;
  int itemHeight_ = 20;
};

}  // namespace krx
