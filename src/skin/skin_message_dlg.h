#pragma once
// CSkinMessageDlg: the program's own message box, sized to its text (at
// least 220 pixels wide, text wrapped at 440), with no close button.
// Modes: 0 notice ("&OK"), 1 yes/no, 2 retry/cancel, 3 up to four custom
// labels. Enter gives id 1 ("&OK"/"&Yes"), Escape id 2 ("&No"); in a
// yes/no box Y and N alone answer too, as in Windows' own.
// Most callers want the free functions of skin_message_box.h instead.
#include <string>
#include <vector>

#include "skin/mac_button.h"
#include "skin/skin_dialog.h"
#include "skin/skin_static.h"

namespace krx {

class CSkinMessageDlg : public CSkinDialog {
 public:
  CSkinMessageDlg() : CSkinDialog(nullptr) {}
  ~CSkinMessageDlg() override { DestroyWindow(); }

  // Runs the box modally; IDOK or IDCANCEL.
  INT_PTR ShowModal(const std::string& text, int mode);

  // Which button closed it: 0..3 for ids 1, 2, 201, 202; -1 before.
  int ResultIndex() const { return resultIndex_; }
  void SetCustomLabels(const std::vector<std::string>& labels) { labels_ = labels; }
  void SetCustomCaption(const std::string& caption) { caption_ = caption; }

  CSkinStatic& TextControl() { return text_; }
  CMacButton& Button(int index) { return buttons_[index]; }
  bool PreTranslateMessage(MSG* msg) override;

 protected:
  BOOL OnInitDialog() override;
  bool OnCommand(UINT id, UINT code, HWND control) override;

 private:
  std::string message_;
  int mode_ = 0;
  int resultIndex_ = -1;
  std::vector<std::string> labels_;
  std::string caption_ = "Please select:";
  CSkinStatic text_;
  CMacButton buttons_[4];
};

}  // namespace krx
