#include "skin/skin_menu.h"

#include <vector>

#include "core/menu_geometry.h"

namespace krx {

namespace {

RECT ToRect(const PixelRect& r) { return {r.left, r.top, r.right, r.bottom}; }
PixelRect ToPixels(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  CBrush brush(CreateSolidBrush(colour));
  FillRect(dc, &r, brush);
}

}  // namespace

CSkinMenu::~CSkinMenu() {
  // The icons go with the map; the menu handle with CMenu.
  DestroyMenu();
}

BOOL CSkinMenu::AppendItem(UINT flags, UINT id, const std::string& text) {
  if (!text.empty()) texts_[id] = text;
  // With MF_OWNERDRAW the last argument is only item data, which we never
  // read; the text is drawn from texts_.
  return AppendMenu(flags, id, text.c_str());
}

BOOL CSkinMenu::SetItemIcon(UINT id, UINT iconResource) {
  HICON icon = LoadIconResource(iconResource, kMenuIconSize, kMenuIconSize);
  if (!icon) return FALSE;
  icons_[id].Reset(icon);
  return TRUE;
}

void CSkinMenu::SetSelectionColours(COLORREF text, COLORREF fill, COLORREF frame) {
  selectionText_ = text;
  selectionFill_ = fill;
  selectionFrame_ = frame;
}

bool CSkinMenu::IsSeparator(UINT id) const {
  const UINT state = GetMenuState(id, MF_BYCOMMAND);
  if (state == UINT(-1) || (state & MF_POPUP)) return false;
  return (state & MF_SEPARATOR) != 0;
}

bool CSkinMenu::IsDisabled(UINT id) const {
  const UINT state = GetMenuState(id, MF_BYCOMMAND);
  // EnableMenuItem's MF_GRAYED is as disabled to the user as MF_DISABLED.
  return state != UINT(-1) && (state & (MF_DISABLED | MF_GRAYED)) != 0;
}

bool CSkinMenu::MeasureItem(MEASUREITEMSTRUCT& item) {
  item.itemHeight = IsSeparator(item.itemID) ? kMenuSeparatorHeight : UINT(itemHeight_);
  if (itemWidth_ == 0) {
    std::vector<std::string> texts;
    for (const auto& entry : texts_) texts.push_back(entry.second);
    const int longest = LongestMenuText(texts);
    SIZE extent = {0, 0};
    if (longest >= 0) {
      CClientDC dc(nullptr);
      CSelect useFont(dc, font_);
      const std::string& text = texts[size_t(longest)];
      GetTextExtentPoint32A(dc, text.c_str(), int(text.size()), &extent);
    }
    itemWidth_ = MenuItemWidth(extent.cx, HasIcons(), GetSystemMetrics(SM_CXMENUSIZE));
  }
  item.itemWidth = UINT(itemWidth_);
  return true;
}

void CSkinMenu::DrawLabel(HDC dc, const RECT& r, const std::string& text, COLORREF colour, bool disabled) const {
  const UINT format = DT_SINGLELINE | DT_VCENTER;
  RECT rect = r;
  if (disabled) {
    RECT shifted = r;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, text.c_str(), int(text.size()), &shifted, format);
    colour = RGB(130, 130, 130);
  }
  SetTextColor(dc, colour);
  DrawTextA(dc, text.c_str(), int(text.size()), &rect, format);
}

void CSkinMenu::DrawSeparator(HDC dc, RECT r, COLORREF back) const {
  r = ToRect(MenuSeparatorRect(ToPixels(r)));
  Fill(dc, r, back);
  RECT etch = ToRect(MenuEtchRect(ToPixels(r)));
  DrawEdge(dc, &etch, EDGE_ETCHED, BF_TOP);
}

void CSkinMenu::DrawTick(HDC dc, const RECT& item, COLORREF back) const {
  const PixelRect box = MenuCheckBox(ToPixels(item));
  const RECT boxRect = ToRect(box);
  Fill(dc, boxRect, back);
  CBrush frame(CreateSolidBrush(selectionFrame_));
  FrameRect(dc, &boxRect, frame);
  CPen pen(CreatePen(PS_SOLID, 1, selectionFrame_));
  CSelect usePen(dc, pen);
  for (const MenuStroke& s : MenuTickStrokes(box)) {
    MoveToEx(dc, s.from.x, s.from.y, nullptr);
    LineTo(dc, s.to.x, s.to.y);
  }
}

bool CSkinMenu::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const COLORREF savedText = GetTextColor(dc);
  const int savedMode = GetBkMode(dc);
  const RECT r = item.rcItem;
  const COLORREF back = background_ != 0 ? background_ : GetBkColor(dc);

  if (IsSeparator(item.itemID)) {
    DrawSeparator(dc, r, back);
    return true;
  }

  const RECT textRect = ToRect(MenuTextRect(ToPixels(r), HasIcons()));
  auto found = texts_.find(item.itemID);
  const std::string text = found != texts_.end() ? found->second : std::string();
  const bool disabled = IsDisabled(item.itemID);
  const bool whole = (item.itemAction & ODA_DRAWENTIRE) != 0;
  const bool selectChange = (item.itemAction & ODA_SELECT) != 0;
  SetBkMode(dc, TRANSPARENT);
  {
    CSelect useFont(dc, font_);
    if (whole) {
      Fill(dc, r, back);
      DrawLabel(dc, textRect, text, text_, disabled);
    }
    if ((item.itemState & ODS_SELECTED) && (whole || selectChange)) {
      CBrush frame(CreateSolidBrush(selectionFrame_));
      FrameRect(dc, &r, frame);
      RECT inner = r;
      InflateRect(&inner, -1, -1);
      Fill(dc, inner, selectionFill_);
      DrawLabel(dc, textRect, text, selectionText_, disabled);
    } else if (selectChange) {
      Fill(dc, r, back);
      DrawLabel(dc, textRect, text, savedText, disabled);
    }
  }

  auto icon = icons_.find(item.itemID);
  if (HasIcons() && icon != icons_.end()) {
    const PixelPoint at = MenuIconOrigin(ToPixels(r));
    DrawIconEx(dc, at.x, at.y, icon->second, kMenuIconSize, kMenuIconSize, 0, nullptr, DI_NORMAL);
  } else if (item.itemState & ODS_CHECKED) {
    DrawTick(dc, r, back);
  }
  SetBkMode(dc, savedMode);
  SetTextColor(dc, savedText);
  return true;
}

}  // namespace krx
