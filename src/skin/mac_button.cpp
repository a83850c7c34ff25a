#include "skin/mac_button.h"

#include <commctrl.h>

#include "core/skin_geometry.h"
#include "skin/measured_text.h"

namespace krx {

namespace {

Rect ToRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

void FillPolyline(HDC dc, COLORREF colour, const std::vector<Point>& points) {
  CPen pen(CreatePen(PS_INSIDEFRAME, 1, colour));
  CSelect use(dc, pen);
  MoveToEx(dc, points[0].x, points[0].y, nullptr);
  for (size_t i = 1; i < points.size(); ++i) LineTo(dc, points[i].x, points[i].y);
}

}  // namespace

CMacButton::CMacButton() { LoadColours(); }

CMacButton::~CMacButton() { DestroyWindow(); }

void CMacButton::SetTheme(int index) {
  theme_ = index;
  LoadColours();
}

void CMacButton::LoadColours() {
  const ThemeColours& c = krx::GetThemeColours(theme_);
  colours_ = {c[0], c[1], c[2], c[3], c[4], c[4], MidColour(c[1], c[3])};
}

void CMacButton::LoadButtonIcon(UINT id, int size) {
  icon_.Reset(LoadIconResource(id, size, size));
  iconWidth_ = size;
  iconHeight_ = size;
}

void CMacButton::SetState(int state, BOOL redraw) {
  if (state != state_) {
    state_ = state;
    if (behaviour_ != kPush) latched_ = state;
  }
  if (redraw && m_hWnd) Invalidate(FALSE);
}

void CMacButton::SetTooltipText(const std::string& text) {
  if (!m_hWnd) return;
  if (!tooltip_) {
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
    tooltip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    if (!tooltip_) return;
    ::SendMessageA(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOMATIC, 300);
    ::SendMessageA(tooltip_, WM_SETFONT, WPARAM(GetFont()), FALSE);
    tipWindow_.SubclassWindow(tooltip_);
  }
  tooltipText_ = text;
  // The tool is the button's window itself, not a rectangle: the tip then
  // answers over the whole button wherever a layout moves or sizes it, and
  // the tooltip sees the button's mouse messages through its own subclass.
  TOOLINFOA tool = {};
  tool.cbSize = TTTOOLINFOA_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = ::GetParent(m_hWnd);
  tool.uId = UINT_PTR(m_hWnd);
  ::SendMessageA(tooltip_, TTM_DELTOOLA, 0, LPARAM(&tool));
  tool.hinst = GetModuleHandleA(nullptr);
  tool.lpszText = &tooltipText_[0];
  ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, LPARAM(&tool));
  // The tip sizes itself to the measured extent of its text, but Wine draws
  // the letters wider than that, and the end of the text fell off. The
  // overhang is measured once and added as a right margin; the tip's own
  // drawing is told not to clip (CTipWindow), so the text runs on
  // into that margin.
  const int overhang = DrawnOverhang(HFONT(::SendMessageA(tooltip_, WM_GETFONT, 0, 0)), tooltipText_);
  RECT margins = {0, 0, overhang > 0 ? overhang + 1 : 0, 0};
  ::SendMessageA(tooltip_, TTM_SETMARGIN, 0, LPARAM(&margins));
}

void CMacButton::DrawItem(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  const RECT& r = item.rcItem;
  // Square corners below 30 pixels, and for good: a later widening keeps them.
  if (r.right - r.left < kSquareCornerBelowWidth) cornerWidth_ = cornerHeight_ = 0;
  const bool selected = (item.itemState & ODS_SELECTED) || (behaviour_ != kPush && state_ == kPressed);
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  // Every WM_DRAWITEM paints the whole face: it may come from the parent
  // erasing its background over the button, or from the system wiping the
  // button first, so nothing drawn before can be relied on. Changes of the
  // ring alone are drawn directly instead (RedrawRing).
  PaintFace(dc, r, selected, disabled);
  CSaveDC saved(dc);
  SetBkMode(dc, TRANSPARENT);
  if (HFONT font = GetFont()) SelectObject(dc, font);
  const ThemeColours& c = GetThemeColours();
  if (selected) {
    SetTextColor(dc, c[kThemeTitleActive]);
  } else if (colouredText_) {
    SetTextColor(dc, c[kThemeBorder]);
  }
  DrawRing(dc, r);
  DrawCaption(dc, r, disabled);
}

void CMacButton::DrawRing(HDC dc, const RECT& r) {
  const bool flat = IsFlat();
  CPen pen;
  if (state_ == kHover || (state_ == kPressed && !flat)) {
    pen.Reset(CreatePen(PS_INSIDEFRAME, 1, GetThemeColours()[kThemeHover]));
  } else {
    COLORREF colour = !flat ? colours_.shadow : (flatFrame_ ? colours_.face : colours_.light);
    pen.Reset(CreatePen(PS_SOLID, 1, colour));
  }
  CSelect usePen(dc, pen);
  CSelect useBrush(dc, GetStockObject(HOLLOW_BRUSH));
  RoundRect(dc, r.left + 1, r.top + 1, r.right - 1, r.bottom - 1, cornerWidth_, cornerHeight_);
}

void CMacButton::RedrawRing() {
  if (!m_hWnd || !::IsWindowVisible(m_hWnd)) return;
  CClientDC dc(m_hWnd);
  RECT r = GetClientRect();
  DrawRing(dc, r);
}

void CMacButton::DrawCaption(HDC dc, const RECT& r, bool disabled) {
  std::string text = GetWindowText();
  if (text.empty()) return;
  const bool hasIcon = icon_.Get() != nullptr;
  Rect t = ButtonTextRect(ToRect(r), hasIcon, iconAbove_, iconWidth_);
  RECT tr = {t.left, t.top, t.right, t.bottom};
  UINT format = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
  if (!hasIcon || iconAbove_) format |= DT_CENTER;
  if (disabled) {
    RECT shifted = tr;
    OffsetRect(&shifted, 1, 1);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawTextA(dc, text.c_str(), -1, &shifted, format);
    SetTextColor(dc, RGB(130, 130, 130));
  }
  DrawTextA(dc, text.c_str(), -1, &tr, format);
}

void CMacButton::PaintFace(HDC dc, const RECT& r, bool selected, bool disabled) {
  if (IsFlat()) {
    PaintFlatFace(dc, r, selected);
    PaintIcon(dc, r, true, disabled);
    return;
  }
  {
    CBrush brush(CreateSolidBrush(selected ? colours_.mid : colours_.face));
    CPen pen(CreatePen(PS_INSIDEFRAME, 1, colours_.border));
    CSelect useBrush(dc, brush);
    CSelect usePen(dc, pen);
    RoundRect(dc, r.left, r.top, r.right, r.bottom, cornerWidth_, cornerHeight_);
  }
  const Rect rect = ToRect(r);
  FaceLines lines = selected ? PressedFaceLines(rect, cornerWidth_) : NormalFaceLines(rect, cornerWidth_);
  auto colourOf = [this](FaceColour f) {
    switch (f) {
      case FaceColour::kHighlight: return colours_.highlight;
      case FaceColour::kFace: return colours_.face;
      case FaceColour::kLight: return colours_.light;
      case FaceColour::kShadow: return colours_.shadow;
      case FaceColour::kBorder: return colours_.border;
      case FaceColour::kDarkLine: return colours_.darkLine;
      default: return colours_.mid;
    }
  };
  for (const FaceStroke& s : lines.strokes) FillPolyline(dc, colourOf(s.colour), s.points);
  for (const FacePixel& p : lines.pixels) SetPixel(dc, p.at.x, p.at.y, colourOf(p.colour));
  PaintIcon(dc, r, false, disabled);
}

void CMacButton::PaintFlatFace(HDC dc, const RECT& r, bool selected) {
  const COLORREF frameColour = GetThemeColours()[kThemeFrameMiddle];
  if (!flatFrame_) {
    CBrush face(CreateSolidBrush(colours_.face));
    FillRect(dc, &r, face);
  }
  COLORREF fill = selected ? colours_.shadow : (flatFrame_ ? frameColour : colours_.face);
  CBrush brush(CreateSolidBrush(fill));
  CPen pen(CreatePen(PS_INSIDEFRAME, 1, flatFrame_ ? frameColour : colours_.shadow));
  CSelect useBrush(dc, brush);
  CSelect usePen(dc, pen);
  RoundRect(dc, r.left, r.top, r.right, r.bottom, cornerWidth_, cornerHeight_);
}

void CMacButton::PaintIcon(HDC dc, const RECT& r, bool flat, bool disabled) {
  if (!icon_.Get()) return;
  Point at = ButtonIconPosition(ToRect(r), iconWidth_, iconHeight_, iconAbove_, flat);
  if (disabled) {
    DrawStateA(dc, nullptr, nullptr, LPARAM(icon_.Get()), 0, at.x, at.y, iconWidth_, iconHeight_,
               DST_ICON | DSS_DISABLED);
  } else {
    DrawIconEx(dc, at.x, at.y, icon_, iconWidth_, iconHeight_, 0, nullptr, DI_NORMAL);
  }
}

bool CMacButton::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (msg) {
    case WM_MOUSEMOVE:
      return OnMouseMove({short(LOWORD(lParam)), short(HIWORD(lParam))});
    case WM_LBUTTONDOWN:
      return OnLButtonDown();
    case WM_LBUTTONDBLCLK:
      // A second press at the same point. Left to the system, an owner-drawn
      // button would only send BN_DOUBLECLICKED, and the owner of a toggle
      // would miss the click that turned it back.
      SendMessage(WM_LBUTTONDOWN, wParam, lParam);
      return true;
    case WM_LBUTTONUP:
      if (behaviour_ == kPush) {
        state_ = kNormal;
      } else {
        latched_ = state_;
      }
      return false;
    case WM_CAPTURECHANGED:
      OnCaptureChanged();
      return false;
    case WM_SYSCOLORCHANGE:
      LoadColours();
      return false;
    case WM_DESTROY:
      state_ = kNormal;
      if (tooltip_) ::DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      return false;
    default:
      return false;
  }
}

bool CMacButton::CTipWindow::OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
  if (msg != WM_NOTIFY) return false;
  const NMHDR& header = *reinterpret_cast<NMHDR*>(lParam);
  if (header.code == UINT(TTN_SHOW)) {
    // Above the button, not below the cursor, where the tip covered the
    // controls under a row of buttons (the toolbar, a list's first line).
    RECT button, tip;
    const HWND tool = reinterpret_cast<HWND>(header.idFrom);
    if (!::GetWindowRect(tool, &button) || !::GetWindowRect(m_hWnd, &tip)) return false;
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoA(MonitorFromRect(&button, MONITOR_DEFAULTTONEAREST), &monitor)) return false;
    const RECT& work = monitor.rcWork;
    const Rect at = TooltipPlace({button.left, button.top, button.right, button.bottom}, tip.right - tip.left,
                                 tip.bottom - tip.top, {work.left, work.top, work.right, work.bottom});
    ::SetWindowPos(m_hWnd, nullptr, at.left, at.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    result = TRUE;  // placed here
    return true;
  }
  auto* draw = reinterpret_cast<NMTTCUSTOMDRAW*>(lParam);
  if (draw->nmcd.hdr.code != UINT(NM_CUSTOMDRAW)) return false;
  // Before the tip draws its text: unclipped, into the margin left for it.
  if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) draw->uDrawFlags |= DT_NOCLIP;
  result = CDRF_DODEFAULT;
  return true;
}

bool CMacButton::OnMouseMove(POINT at) {
  RECT client = GetClientRect();
  const bool captured = GetCapture() == m_hWnd;
  if (PtInRect(&client, at)) {
    if (state_ == kHover || state_ == kPressed) {
      if (!captured) SetCapture(m_hWnd);
      return true;
    }
    if (!captured) {
      entering_ = true;
      SetCapture(m_hWnd);
    }
    state_ = kHover;
    if (entering_) {
      Invalidate(FALSE);  // the mouse came in: the whole face
    } else {
      RedrawRing();
    }
    entering_ = false;
    return false;
  }
  if (captured) ReleaseCapture();
  if (behaviour_ == kPush) {
    state_ = kNormal;
  } else {
    if (state_ != kPressed) state_ = kNormal;
    if (latched_ != kPressed) {
      state_ = kNormal;
      Invalidate(FALSE);
      return true;
    }
  }
  RedrawRing();  // leaving changes only the ring; no flicker of the face
  return false;
}

bool CMacButton::OnLButtonDown() {
  switch (behaviour_) {
    case kToggle:
      state_ = state_ == kPressed ? kNormal : kPressed;
      break;
    case kLatch:
      if (state_ == kPressed) return true;  // latched: the press is ignored entirely
      state_ = kPressed;
      break;
    default:
      state_ = kPressed;
      break;
  }
  return false;
}

void CMacButton::OnCaptureChanged() {
  if (state_ == kHover) state_ = kNormal;
  POINT cursor;
  GetCursorPos(&cursor);
  if (WindowFromPoint(cursor) == m_hWnd) entering_ = true;
}

}  // namespace krx
