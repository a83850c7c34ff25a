#include "framework/dialog.h"

#include "framework/handler_fault.h"

namespace krx {

CDialog::CDialog(UINT templateId, HWND parent) : templateId_(templateId), parent_(parent) {}

const DLGTEMPLATE* CDialog::FindTemplate(UINT templateId) {
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = templateId ? FindResourceA(module, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5)) : nullptr;
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  return bytes ? static_cast<const DLGTEMPLATE*>(bytes) : FallbackTemplate();
}

BOOL CDialog::Create(UINT templateId, HWND parent) {
  templateId_ = templateId;
  return CreateIndirect(FindTemplate(templateId), parent);
}

BOOL CDialog::CreateIndirect(const DLGTEMPLATE* dialogTemplate, HWND parent) {
  if (!dialogTemplate || m_hWnd) return FALSE;
  parent_ = parent;
  ending_ = false;
  HWND hwnd = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, parent, &CDialog::DialogProc,
                                         reinterpret_cast<LPARAM>(this));
  return hwnd != nullptr && m_hWnd == hwnd;
}

INT_PTR CDialog::DoModal() { return RunModal(FindTemplate(templateId_)); }

INT_PTR CDialog::DoModalIndirect(const DLGTEMPLATE* dialogTemplate) { return RunModal(dialogTemplate); }

INT_PTR CDialog::RunModal(const DLGTEMPLATE* dialogTemplate) {
  if (!dialogTemplate || m_hWnd) return -1;
  // Without an explicit parent the dialog belongs to this thread's active
  // window, as a message box would.
  HWND owner = parent_ ? parent_ : GetActiveWindow();
  if (owner) owner = GetAncestor(owner, GA_ROOT);
  const bool disableOwner = owner && ::IsWindowEnabled(owner);
  result_ = -1;
  ending_ = false;
  modal_ = true;
  if (disableOwner) ::EnableWindow(owner, FALSE);
  HWND hwnd = CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, owner, &CDialog::DialogProc,
                                         reinterpret_cast<LPARAM>(this));
  bool quit = false;
  WPARAM quitCode = 0;
  if (hwnd && !ending_ && !::IsWindowVisible(hwnd)) ::ShowWindow(hwnd, SW_SHOWNORMAL);
  while (hwnd && !ending_ && IsWindow(hwnd)) {
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      quitCode = msg.wParam;
      break;
    }
    if (got < 0) break;
    // Keys that run commands are handled here, outside any window procedure.
    bool translated = false;
    try {
      translated = PreTranslateFor(msg);
    } catch (...) {
      translated = true;
      ReportHandlerFault(msg.hwnd);
    }
    if (translated) continue;
    if (IsWindow(hwnd) && IsDialogMessageA(hwnd, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  modal_ = false;
  // Give the owner back its input and the activation while the dialog still
  // exists, so the activation never passes to some other program.
  if (disableOwner) ::EnableWindow(owner, TRUE);
  if (hwnd && IsWindow(hwnd)) {
    if (owner && GetActiveWindow() == hwnd) SetActiveWindow(owner);
    ::DestroyWindow(hwnd);
  }
  if (quit) {
    PostQuitMessage(int(quitCode));
    return -1;
  }
  return result_;
}

bool CDialog::PreTranslateFor(MSG& msg) {
  for (HWND h = msg.hwnd; h; h = ::GetParent(h)) {
    if (h != m_hWnd && !IsChild(m_hWnd, h)) break;
    CWnd* wnd = FromHandle(h);
    if (wnd && wnd->PreTranslateMessage(&msg)) return true;
    if (h == m_hWnd) break;
  }
  return false;
}

void CDialog::EndDialog(int result) {
  result_ = result;
  ending_ = true;
  if (modal_) {
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wake the loop
  } else if (m_hWnd) {
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  }
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

bool CDialog::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_COMMAND && OnCommand(LOWORD(wParam), HIWORD(wParam), HWND(lParam))) {
    result = 0;
    return true;
  }
  return false;
}

bool CDialog::OnCommand(UINT id, UINT code, HWND) {
  if (code != BN_CLICKED) return false;  // menus and accelerators send 0 and 1 too, BN_CLICKED is 0
  if (id == IDOK) {
    OnOK();
    return true;
  }
  if (id == IDCANCEL) {
    OnCancel();
    return true;
  }
  return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
  if (msg != WM_INITDIALOG || FromHandle(hwnd)) return FALSE;
  auto* self = reinterpret_cast<CDialog*>(lParam);
  if (!self || !self->SubclassWindow(hwnd)) return FALSE;
  const Current saved = self->current_;
  self->current_ = {nullptr, WM_INITDIALOG, 0, lParam};
  BOOL focusDefault = TRUE;
  try {
    focusDefault = self->OnInitDialog();
  } catch (...) {
    ReportHandlerFault(hwnd);
  }
  self->current_ = saved;
  return focusDefault;
}

}  // namespace krx
