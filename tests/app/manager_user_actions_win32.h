#pragma once
// What the end-to-end tests do to the real manager as a user would, from a
// second process: a prepared User folder, the login answered, a day's lines
// read from the item list, a line deleted; and what they read back from
// its windows and files.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "app/program_folder_win32.h"
#include "core/record_file.h"
#include "core/settings_file.h"

namespace krx_test {

std::string Text(HWND hwnd);
// Polls for up to 20 seconds.
bool WaitUntil(const std::function<bool()>& done);
// The add-on's day files in the tmp folder.
int CountDayFiles(const std::string& tmp);

// User\ with user.sav sealing password and KRX.cfg with the given settings
// changed, and tmp\.
void Prepare(const krx_test::ProgramFolder& folder, const std::string& password,
             std::initializer_list<std::pair<krx::Setting, int>> changed = {});
// Types text into the login's edit and presses OK.
void TypeAndOk(HWND login, const char* text);
bool HasChildText(HWND parent, const std::string& wanted);
// The item list of the day, after choosing it; no date: the log's only day.
std::vector<std::string> LinesOfTheDay(HWND main, const std::string& date = "");
// Deletes the first line of the item list as a user does: select it,
// Delete, Yes to the question.
bool DeleteFirstLine(HWND main, HANDLE app);
// Gives a control of another process's window the keyboard focus as a user
// does, with a click into it, and waits until it holds: the window is the
// foreground window, its activation has settled (activation restores the
// focus it had before, which can come after the click) and the focus is
// still on the control a moment later. False when it never gets there.
bool ClickToFocus(HWND main, HWND control);
// A key as the keyboard gives it, to whatever has the focus.
void PressKey(BYTE key, bool shift = false);
// The visit records saved in User\ under the password.
krx::StringArray SavedVisits(const krx_test::ProgramFolder& folder, const std::string& password);

}  // namespace krx_test
