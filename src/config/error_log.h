#pragma once
// The error log: user folder + "ErrorMsg.txt", one line per failure, each
// ending in CR LF, appended and never truncated. User\ is the folder setup
// lets the user write; the program folder itself is read-only to a
// standard user.
#include <string>

namespace krx {

// printf-style with the conventions of wvsprintfA (%s, %d, %u, %x, %c, ...);
// the formatted text is cut at 1,023 characters before CR LF is added.
void LogError(const char* format, ...);

// Logs a ready-made text as the argument of "%s", so a "%" in it (a path,
// say) is written as it stands.
void LogErrorText(const std::string& text);

// Where LogError appends.
std::string ErrorLogPath();

}  // namespace krx
