#include "config/config_dlg.h"

#include "config/html_help.h"
#include "core/config_mappings.h"
#include "records/folders.h"

namespace krx {
namespace {

RECT ToRect(const ControlRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Controls the dialog never addresses still need an id of their own kind.
UINT IdOf(const ConfigControl& c) { return c.id ? UINT(c.id) : 0xFFFF; }

}  // namespace

CConfigDlg::CConfigDlg(HWND parent) : CSkinDialog(parent) { CSkinDialog::SetThemeIndex(values_[kThemeIndex]); }

// The window goes while the whole object, controls included, still stands.
CConfigDlg::~CConfigDlg() { DestroyWindow(); }

void CConfigDlg::SetTheme(int index) {
  values_[kThemeIndex] = index;
  CSkinDialog::SetTheme(index);
}

void CConfigDlg::SetThemeIndex(int index) {
  values_[kThemeIndex] = index;
  CSkinDialog::SetThemeIndex(index);
}

BOOL CConfigDlg::OnInitDialog() {
  // Loading the file may have changed the theme setting since construction.
  CSkinDialog::SetThemeIndex(values_[kThemeIndex]);
  ::MoveWindow(m_hWnd, 0, 0, kConfigDialogWidth, kConfigDialogHeight, FALSE);
  CenterWindow();
  SetWindowText(std::string(kProductName) + " - Config");
  CSkinDialog::OnInitDialog();
  CreateControls();
  LoadControls();
  ApplyEnableBox();
  return TRUE;
}

void CConfigDlg::CreateControls() {
  const RECT client = GetClientRect();
  const HFONT font = NormalFont();
  const int theme = values_[kThemeIndex];
  size_t option = 0, hotkey = 0, themeButton = 0, groupBox = 0, pushButton = 0;
  CMacButton* pushButtons[] = {&changePasswordButton_, &helpButton_, &okButton_, &cancelButton_};
  CButton* groupBoxes[] = {&optionsFrame_, &themeFrame_};

  for (const ConfigControl& c : ConfigDialogControls(client.right - client.left)) {
    const RECT r = ToRect(c.rect);
    const DWORD child = WS_CHILD | WS_VISIBLE;
    CWnd* made = nullptr;
    switch (c.kind) {
      case ConfigControlKind::kGroupBox: {
        CButton* frame = groupBoxes[groupBox++];
        frame->Create(c.text, child | BS_GROUPBOX | WS_CLIPSIBLINGS, r, m_hWnd, IdOf(c));
        made = frame;
        break;
      }
      case ConfigControlKind::kCheckBox: {
        CMacCheckBox* box = c.id == kEnableCheckBoxId ? &enableBox_ : &optionBoxes_[option++];
        box->Create(c.text, child | WS_TABSTOP | BS_AUTOCHECKBOX, r, m_hWnd, IdOf(c));
        box->SetTheme(theme);
        made = box;
        break;
      }
      case ConfigControlKind::kLabel:
        hotkeyLabels_[hotkey].Create(c.text, child | SS_LEFT, r, m_hWnd, IdOf(c));
        made = &hotkeyLabels_[hotkey];
        break;
      case ConfigControlKind::kDropList: {
        CMeasuredComboBox& list = hotkeyLists_[hotkey++];
        list.Create(child | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, r, m_hWnd, IdOf(c));
        made = &list;
        break;
      }
      case ConfigControlKind::kRadioButton: {
        CMacRadioButton& button = themeButtons_[themeButton];
        // The seven buttons are one group: the first opens it.
        const DWORD group = themeButton == 0 ? WS_GROUP | WS_TABSTOP : 0;
        button.Create(c.text, child | group | BS_AUTORADIOBUTTON, r, m_hWnd, IdOf(c));
        button.SetTheme(theme);
        ++themeButton;
        made = &button;
        break;
      }
      case ConfigControlKind::kPushButton: {
        CMacButton* button = pushButtons[pushButton];
        // The first push button closes the theme buttons' group.
        const DWORD group = pushButton == 0 ? WS_GROUP : 0;
        button->Create(c.text, child | group | WS_TABSTOP, r, m_hWnd, IdOf(c));
        button->SetTheme(theme);
        ++pushButton;
        made = button;
        break;
      }
    }
    if (made) made->SetFont(font, FALSE);
    if (c.kind == ConfigControlKind::kDropList) hotkeyLists_[hotkey - 1].FitItemHeights();
  }
}

void CConfigDlg::LoadControls() {
  enableBox_.SetCheck(values_[kAddOnEnabled]);
  for (size_t i = 0; i < kOptionBoxSettings.size(); ++i) optionBoxes_[i].SetCheck(values_[kOptionBoxSettings[i]]);

  const HotkeyList lists[] = {HotkeyList::kPause, HotkeyList::kFlash, HotkeyList::kGif};
  for (HotkeyList list : lists) {
    CComboBox& box = ListFor(list);
    for (const HotkeyEntry& entry : HotkeyEntries(list)) box.AddString(entry.text);
    // A key no entry offers leaves the list without selection.
    box.SetCurSel(HotkeySelection(list, values_[HotkeySetting(list)]));
  }
  for (size_t i = 0; i < kThemeButtons.size(); ++i) {
    themeButtons_[i].SetCheck(kThemeButtons[i].themeIndex == values_[kThemeIndex]);
  }
}

void CConfigDlg::ApplyEnableBox() {
  values_[kAddOnEnabled] = enableBox_.GetCheck();
  const BOOL enable = values_[kAddOnEnabled] != 0;
  for (CMacCheckBox& box : optionBoxes_) box.EnableWindow(enable);
  for (CComboBox& list : hotkeyLists_) list.EnableWindow(enable);
}

CMacCheckBox* CConfigDlg::BoxFor(Setting s) {
  for (size_t i = 0; i < kOptionBoxSettings.size(); ++i) {
    if (kOptionBoxSettings[i] == s) return &optionBoxes_[i];
  }
  return nullptr;
}

CComboBox& CConfigDlg::ListFor(HotkeyList list) {
  switch (list) {
    case HotkeyList::kPause: return hotkeyLists_[0];
    case HotkeyList::kFlash: return hotkeyLists_[1];
    case HotkeyList::kGif: return hotkeyLists_[2];
  }
  return hotkeyLists_[0];
}

bool CConfigDlg::OnCommand(UINT id, UINT code, HWND control) {
  if (code != BN_CLICKED) return CSkinDialog::OnCommand(id, code, control);
  if (int theme = ThemeForCommand(int(id))) {
    SetTheme(theme);
    return true;
  }
  switch (id) {
    case kChangePasswordId:
      if (changePassword_) changePassword_(m_hWnd, values_[kThemeIndex]);
      return true;
    case kConfigHelpId:
      ShowHelpTopic(kConfigHelpTopic);
      return true;
    case kEnableCheckBoxId:
      ApplyEnableBox();
      return true;
    default:
      return CSkinDialog::OnCommand(id, code, control);
  }
}

void CConfigDlg::OnOK() {
  for (Setting s : kOkFirstReads) values_[s] = BoxFor(s)->GetCheck();
  ApplyToolbarButton();
  for (Setting s : kOkLaterReads) values_[s] = BoxFor(s)->GetCheck();
  const HotkeyList lists[] = {HotkeyList::kPause, HotkeyList::kFlash, HotkeyList::kGif};
  for (HotkeyList list : lists) {
    const Setting s = HotkeySetting(list);
    values_[s] = HotkeyValueFor(list, ListFor(list).GetCurSel(), values_[s]);
  }
  SaveChosenConfig();
  ApplyAutorun();
  CSkinDialog::OnOK();
}

}  // namespace krx
