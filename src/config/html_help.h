#pragma once
// The compiled-HTML help beside the program, through HtmlHelpA loaded at
// run time (a system without the help viewer shows nothing, quietly).
#include <string>

namespace krx {

// Opens "<file>.chm::/<page>.htm" of the program folder with no owner
// window, e.g. "Kestrelix.chm::/Configuration.htm" or "qv.chm::/login.htm".
// False when the viewer or the file is missing.
bool ShowHelpTopic(const std::string& chmAndTopic);

// The same for a full path ("C:\...\Kestrelix.chm::/cache.htm").
bool ShowHelpPath(const std::string& pathAndTopic);

// Closes every help window the program opened; called before it ends.
void CloseAllHelp();

}  // namespace krx
