#pragma once
// CConfigDlg: the options window. It doubles as the holder of the 25
// settings, so a CConfigDlg may live for a whole run without ever being
// shown; its controls exist only while it is open. Its theme is the
// dialog's own theme index, so previewing a theme changes the setting.
#include <array>
#include <functional>

#include "config/config_settings.h"
#include "core/config_mappings.h"
#include "framework/button.h"
#include "framework/combo_box.h"
#include "skin/measured_combo_box.h"
#include "framework/static.h"
#include "skin/mac_button.h"
#include "skin/mac_check_box.h"
#include "skin/mac_radio_button.h"
#include "skin/skin_dialog.h"

namespace krx {

class CConfigDlg : public CSkinDialog, public ConfigSettings {
 public:
  explicit CConfigDlg(HWND parent = nullptr);
  ~CConfigDlg() override;

  // Set the theme setting and the dialog's theme together (they are one
  // value); SetTheme re-skins the dialog at once when it is open.
  void SetTheme(int index) override;
  void SetThemeIndex(int index) override;
  // The theme setting, also when LoadAndApply has just read another one
  // from the file and the window has not yet taken it over.
  int GetTheme() const override { return values_[kThemeIndex]; }

  // "Change Password" runs the change-password dialog, which lives above
  // this layer: its owner hands in how to run it (owner window, theme).
  using ChangePasswordAction = std::function<void(HWND owner, int themeIndex)>;
  void SetChangePasswordAction(ChangePasswordAction action) { changePassword_ = std::move(action); }

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;
  void OnOK() override;

 private:
  void CreateControls();
  void LoadControls();
  // The enable box decides whether the options can be changed.
  void ApplyEnableBox();
  CMacCheckBox* BoxFor(Setting s);
  CComboBox& ListFor(HotkeyList list);

  CButton optionsFrame_;
  CMacCheckBox enableBox_;
  std::array<CMacCheckBox, 15> optionBoxes_;  // in the order of kOptionBoxSettings
  std::array<CStatic, 3> hotkeyLabels_;
  std::array<CMeasuredComboBox, 3> hotkeyLists_;  // pause, flash, GIF
  CButton themeFrame_;
  std::array<CMacRadioButton, 7> themeButtons_;  // in the order of kThemeButtons
  CMacButton changePasswordButton_, helpButton_, okButton_, cancelButton_;
  ChangePasswordAction changePassword_;
};

}  // namespace krx
