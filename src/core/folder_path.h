#pragma once
// The folders that CreateFolderPath makes, outermost first.
#include <string>
#include <vector>

namespace krx {

// Every prefix up to and including a backslash after the first character is
// one folder; a path that does not end in a backslash adds itself with one.
// A network path (\\server\share\...) yields only the folders below its share.
std::vector<std::string> FolderPathSteps(const std::string& path);

// The folder part of a file path, ending in its separator ("" when none).
std::string FolderOf(const std::string& filePath);

}  // namespace krx
