#include "records/plain_message_box.h"

#include <windows.h>

#include "core/record_cipher.h"
#include "records/folders.h"

namespace krx {

namespace {
constexpr int kProgramIconId = 128;

void ShowParameterError() { PlainMessageBox(kParameterErrorText, nullptr); }
}  // namespace

void PlainMessageBox(const std::string& text, HWND owner) {
  MSGBOXPARAMSA params = {};
  params.cbSize = sizeof(params);
  params.hwndOwner = owner;
  params.hInstance = GetModuleHandleA(nullptr);
  params.lpszText = text.c_str();
  params.lpszCaption = kProductName;
  params.dwStyle = MB_OK | MB_USERICON;
  params.lpszIcon = MAKEINTRESOURCEA(kProgramIconId);
  MessageBoxIndirectA(&params);
}

void InstallParameterErrorBox() { SetParameterErrorReporter(&ShowParameterError); }

}  // namespace krx
