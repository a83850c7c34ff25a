#pragma once
// CAboutDlg: what the program is, its version and where it keeps the
// user's data. Shown from the manager window and the tray menu.
#include <string>

#include "framework/gdi.h"
#include "skin/mac_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_static.h"

namespace krx {

class CAboutDlg : public CSkinDialog {
 public:
  static constexpr int kWidth = 420;
  static constexpr int kHeight = 240;

  // userFolder: where the records, options and password are kept.
  CAboutDlg(std::string userFolder, HWND parent = nullptr);

  // The lines shown, top to bottom (for tests).
  static std::string VersionLine();
  static const char* PurposeLine();
  static const char* DataLine();
  const std::string& DataFolder() const { return userFolder_; }

 protected:
  BOOL OnInitDialog() override;

 private:
  std::string userFolder_;
  CSkinStatic name_, version_, purpose_, data_, folder_;
  CFont nameFont_;
  CMacButton ok_;
};

}  // namespace krx
