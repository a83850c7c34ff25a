#pragma once
// CAboutDlg: what the program is, its version and where it keeps the
// user's data. Shown from the manager window and the tray menu.
#include <string>

#include "skin/mac_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_static.h"

namespace krx {

class CAboutDlg : public CSkinDialog {
 public:
  static constexpr int kWidth = 360;
  static constexpr int kHeight = 200;

  // userFolder: where the records, options and password are kept.
  CAboutDlg(std::string userFolder, HWND parent = nullptr);

  // The lines shown, top to bottom (for tests).
  static std::string VersionLine();
  static const char* PurposeLine();
  std::string DataLine() const;

 protected:
  BOOL OnInitDialog() override;

 private:
  std::string userFolder_;
  CSkinStatic name_, version_, purpose_, data_;
  CMacButton ok_;
};

}  // namespace krx
