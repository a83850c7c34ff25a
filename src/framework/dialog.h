#pragma once
// CDialog: a dialog from a template resource or an in-memory template
// (dialog_template.h), modal with our own loop or modeless.
//
//   class CAboutDlg : public CDialog {
//    public:
//     CAboutDlg() : CDialog(IDD_ABOUT) {}
//     BOOL OnInitDialog() override { CDialog::OnInitDialog(); ...; return TRUE; }
//     void OnOK() override { if (Valid()) CDialog::OnOK(); }
//   };
//   CAboutDlg dlg;
//   if (dlg.DoModal() == IDOK) ...
//
// The modal run: the dialog is created modeless, its owner is disabled, and
// the loop gets messages while the dialog lives. Each message is first
// offered to PreTranslateMessage of every CWnd from the target window up to
// the dialog, then to IsDialogMessage (Tab, Enter = IDOK or the default
// button, Escape = IDCANCEL), then dispatched. EndDialog ends the loop; the
// owner is re-enabled and re-activated before the dialog is destroyed. A
// WM_QUIT that arrives during the run ends it (result -1) and is posted again
// for the outer loop.
//
// Commands: WM_COMMAND reaches OnCommand(id, code, control) unless a child
// took it by reflection; IDOK and IDCANCEL call OnOK and OnCancel, which end
// the dialog with that result unless overridden.
#include <windows.h>

#include "framework/wnd.h"

namespace krx {

class CDialog : public CWnd {
 public:
  // templateId 0: no resource; use DoModalIndirect / CreateIndirect.
  explicit CDialog(UINT templateId = 0, HWND parent = nullptr);

  INT_PTR DoModal();
  INT_PTR DoModalIndirect(const DLGTEMPLATE* dialogTemplate);

  // Modeless creation; the dialog shows if its template has WS_VISIBLE.
  BOOL Create(UINT templateId, HWND parent);
  BOOL CreateIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent);

  // Ends a modal run with `result`; a modeless dialog is hidden (it lives on
  // until destroyed).
  virtual void EndDialog(int result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  bool IsEnding() const { return ending_; }
  int GetResult() const { return result_; }
  HWND GetParentHandle() const { return parent_; }
  void SetParentHandle(HWND parent) { parent_ = parent; }

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  virtual bool OnCommand(UINT id, UINT code, HWND control);
  // The template used when the resource `templateId` is missing; none by default.
  virtual const DLGTEMPLATE* FallbackTemplate() { return nullptr; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  const DLGTEMPLATE* FindTemplate(UINT templateId);
  bool PreTranslateFor(MSG& msg);
  INT_PTR RunModal(const DLGTEMPLATE* dialogTemplate);

  UINT templateId_;
  HWND parent_;
  int result_ = -1;
  bool ending_ = false;
  bool modal_ = false;
};

}  // namespace krx
