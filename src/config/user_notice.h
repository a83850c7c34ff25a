#pragma once
// Notices for the user, and where they go while Windows ends the session:
// a box then would block the logoff until Windows kills the program with
// the box still up. So from WM_ENDSESSION on a notice goes to the error log
// (core/kept_notices.h), and the next start shows it, once.
#include <windows.h>

#include <string>

namespace krx {

// Set by the main window at WM_ENDSESSION; tests set it back.
void SetSessionEnding(bool ending);
bool SessionEnding();

// A skinned box in the theme; while the session ends, lines of the error
// log for the next start instead.
void TellUser(const std::string& text, int theme);

// What the last session's end kept from the screen, now marked as shown in
// the error log; empty for nothing. A log that cannot be read keeps it for
// a later start.
std::string TakeKeptNotices();

// At the start: TakeKeptNotices in a box.
void TellKeptNotices(int theme);

// The program's reporter of a message handler that threw
// (framework/handler_fault.h): a line in the error log and a notice; at the
// end of the session, one of these two for the next start.
inline constexpr char kSessionEndOutOfMemoryText[] =
    "Not enough memory to finish saving when Windows ended the session: changes made since the last save may be "
    "lost. The add-on's new records were kept for this start.";
inline constexpr char kSessionEndInternalErrorText[] =
    "An internal error stopped the save when Windows ended the session: changes made since the last save may be "
    "lost. The add-on's new records were kept for this start.";
void ReportFailedCommand(HWND window, bool outOfMemory, const char* what);

}  // namespace krx
