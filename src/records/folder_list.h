#pragma once
// The files of one folder whose names end in a given extension.
#include <string>
#include <vector>

namespace krx {

// Full paths of the files (not folders) directly in folder that the
// system's search for pattern ("*.log") finds and whose own extension is
// extension (".log"), in the order the system returns them. The search also
// matches 8.3 short names, so "*.vis" would find "a.visx": the extension
// check keeps those out. failed, when given, is set when the folder exists
// but could not be listed: no file found is then not the same as none there.
std::vector<std::string> FindFilesWithExtension(const std::string& folder, const char* pattern, const char* extension,
                                                bool* failed = nullptr);

}  // namespace krx
