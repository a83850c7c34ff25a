#include "skin/mac_btn_group.h"

#include <cstdio>

#include "core/btn_group_geometry.h"
#include "skin/glyph_painter.h"

namespace krx {

namespace {

constexpr int kLatch = 2;
constexpr int kDown = 2;
constexpr int kUp = 0;

}  // namespace

NMacBtnGroup::~NMacBtnGroup() { DestroyButtons(); }

void NMacBtnGroup::DestroyButtons() {
  // Each button's window goes with its object.
  buttons_.clear();
}

BOOL NMacBtnGroup::Create(const RECT& rect, HWND parent, HBRUSH background) {
  // One class per background brush, so groups with different brushes can
  // live side by side until SetTheme swaps a class's brush.
  char className[64];
  std::snprintf(className, sizeof(className), "KrxMacBtnGroup:%p", static_cast<void*>(background));
  if (!RegisterWndClass(className, CS_BYTEALIGNCLIENT, nullptr, background)) return FALSE;
  return CreateEx(0, className, "", WS_CHILD | WS_VISIBLE, rect, parent, 0xFFFF);
}

BOOL NMacBtnGroup::CreateButtons(const std::vector<std::string>& labels, const std::vector<UINT>& ids, int rows,
                                 int columns, HFONT font) {
  const bool exists = m_hWnd && IsWindow(m_hWnd);
  if (!CanCreateButtons(labels.size(), ids.size(), exists, rows, columns)) return FALSE;
  DestroyButtons();
  rows_ = rows;
  columns_ = columns;
  const RECT client = GetClientRect();
  const std::vector<PixelRect> cells =
      GroupCells(client.right - client.left, client.bottom - client.top, rows, columns, labels.size());
  for (size_t i = 0; i < labels.size(); ++i) {
    auto button = std::make_unique<CMacButton>();
    if (!button->Create(labels[i], WS_CHILD | WS_VISIBLE | BS_FLAT, ToRECT(cells[i]), m_hWnd, ids[i])) continue;
    if (font) button->SetFont(font);
    button->SetTooltipText(labels[i]);
    button->SetBehaviour(kLatch);
    button->SetCorner(6, 6);
    buttons_.push_back(std::move(button));
  }
  return TRUE;
}

void NMacBtnGroup::Layout(int left, int top, int right, int bottom) {
  if (!m_hWnd) return;
  const auto layout = LayoutGroup({left, top, right, bottom}, rows_, columns_, buttons_.size());
  if (!layout) return;
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->MoveWindow(ToRECT(layout->buttons[i]));
  MoveWindow(ToRECT(layout->group));
}

void NMacBtnGroup::SelectById(UINT id) {
  for (auto& button : buttons_) button->SetState(UINT(button->GetDlgCtrlID()) == id ? kDown : kUp, TRUE);
}

UINT NMacBtnGroup::GetSelectedId() const {
  for (const auto& button : buttons_) {
    if (button->GetState() == kDown) return UINT(button->GetDlgCtrlID());
  }
  return 0;
}

CMacButton* NMacBtnGroup::FindButton(UINT id) const {
  for (const auto& button : buttons_) {
    if (UINT(button->GetDlgCtrlID()) == id) return button.get();
  }
  return nullptr;
}

void NMacBtnGroup::SetTheme(HBRUSH background, int index) {
  for (auto& button : buttons_) {
    button->SetTheme(index);
    button->Invalidate(FALSE);
  }
  if (m_hWnd) {
    SetClassLongPtrA(m_hWnd, GCLP_HBRBACKGROUND, LONG_PTR(background));
    Invalidate(TRUE);
  }
}

bool NMacBtnGroup::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg != WM_COMMAND || HIWORD(wParam) != 0) return false;
  const UINT id = LOWORD(wParam);
  for (auto& button : buttons_) {
    if (UINT(button->GetDlgCtrlID()) != id) button->SetState(kUp, TRUE);
  }
  ::PostMessageA(GetParent(), WM_COMMAND, wParam, lParam);
  result = 0;
  return true;
}

}  // namespace krx
