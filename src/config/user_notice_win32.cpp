#include "config/user_notice.h"

#include "config/error_log.h"
#include "core/kept_notices.h"
#include "skin/skin_dialog.h"
#include "skin/skin_message_box.h"

namespace krx {

namespace {

bool g_sessionEnding = false;

// The kept lines are among the last of the log: its tail is enough, however
// long the log has grown.
constexpr LONGLONG kLogTailBytes = 64 * 1024;

bool ReadLogTail(std::string& tail) {
  HANDLE h = CreateFileA(ErrorLogPath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;  // no log: nothing kept
  LARGE_INTEGER size{}, from{};
  bool ok = GetFileSizeEx(h, &size) != FALSE;
  if (ok && size.QuadPart > kLogTailBytes) {
    from.QuadPart = size.QuadPart - kLogTailBytes;
    ok = SetFilePointerEx(h, from, nullptr, FILE_BEGIN) != FALSE;
  }
  if (ok) {
    tail.resize(size_t(size.QuadPart - from.QuadPart));
    DWORD got = 0;
    ok = tail.empty() || (ReadFile(h, &tail[0], DWORD(tail.size()), &got, nullptr) && got == tail.size());
  }
  CloseHandle(h);
  return ok;
}

}  // namespace

void SetSessionEnding(bool ending) { g_sessionEnding = ending; }
bool SessionEnding() { return g_sessionEnding; }

void TellUser(const std::string& text, int theme) {
  if (!SessionEnding()) {
    SkinMessageBox(text, theme);
    return;
  }
  for (const std::string& line : KeptNoticeLogLines(text)) LogErrorText(line);
}

std::string TakeKeptNotices() {
  std::string tail;
  if (!ReadLogTail(tail)) return "";
  std::string kept = KeptNoticesOf(tail);
  if (!kept.empty()) LogErrorText(kKeptNoticesShown);
  return kept;
}

void TellKeptNotices(int theme) {
  if (SessionEnding()) return;  // the start itself is cut short: they wait for the next
  const std::string kept = TakeKeptNotices();
  if (!kept.empty()) SkinMessageBox(KeptNoticesBoxText(kept), theme);
}

// A command that threw did not finish, and the user is told so in the
// window's own theme; the program goes on, so the close still saves. The
// error log keeps the exception's text for whoever looks into it, and is
// written first: it needs no window, should memory be short for the notice.
// At the end of the session there is no later close: what threw then was
// most likely the save.
void ReportFailedCommand(HWND window, bool outOfMemory, const char* what) {
  LogErrorText(std::string("Command failed: ") + (outOfMemory ? "out of memory" : what));
  auto* dialog = dynamic_cast<CSkinDialog*>(CWnd::FromHandle(GetAncestor(window, GA_ROOT)));
  const int theme = dialog ? dialog->GetTheme() : 1;
  if (SessionEnding()) {
    TellUser(outOfMemory ? kSessionEndOutOfMemoryText : kSessionEndInternalErrorText, theme);
    return;
  }
  TellUser(outOfMemory ? "Not enough memory to finish the command. Kestrelix goes on; your records are "
                         "saved when you close it."
                       : "The command could not be finished because of an internal error. Kestrelix goes "
                         "on; your records are saved when you close it.",
           theme);
}

}  // namespace krx
