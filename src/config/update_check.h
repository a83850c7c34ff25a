#pragma once
// The online update check: the version file on the update host compared
// with this program's version, on the user's request only.
//
//   if (CheckForUpdate(theme)) EndDialog(IDCANCEL);  // the installer is on its way
#include <string>

namespace krx {

// How long one step of the download (connect, send, receive) may take
// before the server counts as silent.
constexpr unsigned kUpdateTimeoutMs = 5000;

// The content of "https://" + UpdateHost() + "/" + name + ".ver" (or the
// scheme the host names): at most 4 characters, or empty on any failure (no
// network, a silent server, a certificate that does not hold, an HTTP
// status other than 200, a longer answer).
std::string FetchLatestVersion(const std::string& name, unsigned timeoutMs = kUpdateTimeoutMs);

// Asks for the newest version under the wait cursor and tells the user in
// the theme's message boxes. True when the user accepted the offer and the
// installer's address was opened: the caller then closes as by Cancel.
bool CheckForUpdate(int theme, unsigned timeoutMs = kUpdateTimeoutMs);

}  // namespace krx
