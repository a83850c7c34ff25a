// The manager window in the notification area: tray icon, tray menu, hiding
// and showing (with the password asked again when so set), and the keys the
// window handles itself.
#include <windows.h>
#include <shellapi.h>

#include <cstring>

#include "core/context_menu.h"
#include "core/quick_filter.h"
#include "core/theme_table.h"
#include "core/tray_rules.h"
#include "manager/manager_dlg.h"
#include "records/folders.h"

namespace krx {

namespace {

// The record every call passes; the remove call leaves the tip out.
NOTIFYICONDATAA TrayRecord(HWND window, HICON icon, bool withTip) {
  NOTIFYICONDATAA record = {};
  static_assert(sizeof record >= kTrayIconRecordSize, "the tray record is the shell's 488-byte layout");
  record.cbSize = kTrayIconRecordSize;
  record.hWnd = window;
  record.uID = kTrayIconId;
  record.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record.uCallbackMessage = WM_TRAYNOTIFY;
  record.hIcon = icon;
  if (withTip) {
    const auto tip = TrayTip(kProductName);
    std::memcpy(record.szTip, tip.data(), tip.size());
  }
  return record;
}

}  // namespace

void CManagerDlg::BuildTrayMenu() {
  // Built once; ApplyTheme recolours it later.
  if (trayMenu_.m_hMenu || !trayMenu_.CreatePopupMenu()) return;
  const ThemeColours& colours = GetThemeColours(GetTheme());
  trayMenu_.SetBackColour(colours[1]);
  trayMenu_.SetSelectionColours(colours[7], colours[5], colours[4]);
  trayMenu_.SetFont(NormalFont());
  trayMenu_.SetItemHeight(kTrayMenuItemHeight);
  trayMenu_.SetItemWidth(kTrayMenuWidth);
  for (const TrayMenuItem& item : kTrayMenuItems) {
    if (item.id == 0) {
      trayMenu_.AppendItem(MF_OWNERDRAW | MF_SEPARATOR, 0, "");
      continue;
    }
    trayMenu_.AppendItem(MF_OWNERDRAW, item.id, item.text);
    trayMenu_.SetItemIcon(item.id, item.icon);
  }
}

void CManagerDlg::AddTrayIcon() {
  NOTIFYICONDATAA record = TrayRecord(m_hWnd, smallIcon_.Get(), true);
  Shell_NotifyIconA(NIM_ADD, &record);
}

UINT CManagerDlg::TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA(kTaskbarCreatedMessageName);
  return message;
}

void CManagerDlg::RemoveTrayIcon() {
  NOTIFYICONDATAA record = TrayRecord(m_hWnd, smallIcon_.Get(), false);
  Shell_NotifyIconA(NIM_DELETE, &record);
}

void CManagerDlg::OnTrayNotify(UINT mouseMessage) {
  if (mouseMessage == WM_LBUTTONDOWN) {
    ToggleVisibility();
  } else if (mouseMessage == WM_RBUTTONDOWN) {
    SetForegroundWindow(m_hWnd);
    POINT at = {};
    GetCursorPos(&at);
    trayMenu_.TrackPopupMenu(TPM_RIGHTBUTTON, at.x, at.y, m_hWnd);
    // Lets the menu close when the user clicks elsewhere next time.
    PostMessage(WM_NULL);
  }
}

BOOL CManagerDlg::ToggleVisibility() {
  if (visibility_ == kHidden) {
    SetForegroundWindow(m_hWnd);
    if (settings_.Get(kPasswordOnShow) == 1 && !AskPassword()) return FALSE;
    ShowWindow(SW_SHOW);
    visibility_ = kShown;
  } else {
    ShowWindow(SW_HIDE);
    visibility_ = kHidden;
  }
  return TRUE;
}

BOOL CManagerDlg::AskPassword() {
  // One prompt at a time: a second request brings the open one forward.
  if (loginDlg_.m_hWnd) {
    SetForegroundWindow(loginDlg_.m_hWnd);
    return FALSE;
  }
  loginDlg_.SetThemeIndex(GetTheme());
  return loginDlg_.DoModal() == IDOK ? TRUE : FALSE;
}

void CManagerDlg::OnTrayCommand(UINT id) {
  switch (int(id)) {
    case ID_TRAY_SHOW:
      if (visibility_ == kHidden && !ToggleVisibility()) break;
      // A minimised window counts as shown, but the user asked to see it.
      if (IsIconic(m_hWnd)) {
        ShowWindow(SW_RESTORE);
        SetForegroundWindow(m_hWnd);
      }
      break;
    case ID_TRAY_HIDE:
      if (visibility_ == kShown) ToggleVisibility();
      break;
    case ID_TRAY_CONFIG:
      // The window's own Config button never asks: it is only reachable
      // once the window is shown.
      if (settings_.Get(kPasswordOnShow) == 1 && !AskPassword()) break;
      OnConfiguration();
      break;
    case ID_TRAY_WEBSITE: OnWebSite(); break;
    case ID_TRAY_UPDATE: OnOnlineUpdate(); break;
    case ID_TRAY_EMAIL: OnSendEmail(); break;
    case ID_TRAY_ABOUT: OnAbout(); break;
    case ID_TRAY_HELP: OnHelp(); break;
    case ID_TRAY_EXIT: OnCancel(); break;
    default:  // 2211 lies in the range and does nothing
      break;
  }
}

bool CManagerDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN) {
    // F1 is the help request for the current view, wherever the focus is.
    if (msg->wParam == VK_F1) {
      OnHelp();
      return true;
    }
    const bool inItemList = GetFocus() == itemList_.m_hWnd;
    // The quick filter: Ctrl+Q shows it anywhere in the window; Escape in it
    // clears it (the dialog would take Escape as Close and ask to exit);
    // Enter in it lists what was typed at once.
    if (msg->wParam == 'Q' && GetKeyState(VK_CONTROL) < 0) {
      ShowQuickFilter();
      return true;
    }
    if (msg->hwnd == quickFilter_.m_hWnd && msg->wParam == VK_ESCAPE) {
      ClearQuickFilter();
      return true;
    }
    if (msg->hwnd == quickFilter_.m_hWnd && msg->wParam == VK_RETURN) {
      ApplyQuickFilter();
      return true;
    }
    switch (ListKeyCommand(unsigned(msg->wParam), GetKeyState(VK_CONTROL) < 0, inItemList)) {
      case ListKey::kCopy: OnCopy(); return true;
      case ListKey::kSelectAll: OnSelectAll(); return true;
      case ListKey::kGroupBySite: OnGroupBySite(); return true;
      case ListKey::kNone: break;
    }
    // Enter in the input box acts on what was typed there; taken before
    // the dialog makes it the default button's (Enter never closes).
    const WindowKey key = msg->wParam == VK_RETURN && msg->hwnd == inputBox_.m_hWnd
                              ? InputBoxEnterCommand(CurrentView())
                              : KeyCommand(unsigned(msg->wParam), inItemList, GetKeyState(VK_SHIFT) < 0);
    switch (key) {
      case WindowKey::kFind: OnFind(); return true;
      case WindowKey::kFindAllDays: OnFindAllDays(); return true;
      case WindowKey::kDelete: OnDeleteItems(); return true;
      case WindowKey::kRefresh: OnRefresh(); return true;
      case WindowKey::kStatistics: OnStatistics(); return true;
      case WindowKey::kAddNewItem: OnEnterNewItem(); return true;
      case WindowKey::kNone: break;
    }
  }
  return CSkinDialog::PreTranslateMessage(msg);
}

}  // namespace krx
