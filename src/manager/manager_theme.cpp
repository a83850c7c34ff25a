// The manager window's colours, and its icon while minimised.
#include "core/theme_table.h"
#include "manager/manager_dlg.h"
#include "skin/themed.h"

namespace krx {

void CManagerDlg::ApplyTheme(int theme) {
  // The skinned dialog re-skins the caption strip, the title (column 7),
  // the Close button, the background brush (column 1) and the frame; it
  // does nothing when the index is already its own, so the walk over the
  // children below is made here in every case.
  CSkinDialog::SetTheme(theme);
  SetThemeIndex(theme);
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (auto* themed = dynamic_cast<IThemed*>(FromHandle(child))) themed->SetTheme(theme);
    ::InvalidateRect(child, nullptr, TRUE);
  }
  viewSelector_.SetTheme(BackgroundBrush(), theme);

  const ThemeColours& colours = GetThemeColours(theme);
  Title().SetColours(colours[kThemeTitleActive], RGB(255, 255, 255));
  Title().SetText(GetWindowText());
  CaptionBar().LoadImageResource(UINT(CaptionImageId(theme)));
  for (CSkinListBox* list : {&dateList_, &itemList_}) {
    list->SetSelectionBackground(colours[5]);
    list->SetSelectionFrame(colours[4]);
    list->SetSelectionText(colours[7]);
    list->Invalidate();
  }
  trayMenu_.SetBackColour(colours[1]);
  trayMenu_.SetSelectionColours(colours[7], colours[5], colours[4]);
  DrawFrame();
  Invalidate(TRUE);
}

// Minimised, the window shows its big icon centred on the icon background,
// as any dialog does.
bool CManagerDlg::OnPaintMinimised() {
  if (!IsIconic(m_hWnd)) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_hWnd, &paint);
  SendMessage(WM_ICONERASEBKGND, WPARAM(dc), 0);
  const RECT client = GetClientRect();
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, bigIcon_.Get());
  EndPaint(m_hWnd, &paint);
  return true;
}

}  // namespace krx
