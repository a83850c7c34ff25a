#include "core/folder_path.h"

namespace krx {

namespace {

// Where the folders that can be made begin. A drive path's first character
// is never a folder of its own; a network path (\\server\share\...) begins
// after its share, since the share is the root of what can be created there.
// npos: the path names no folder below a share.
size_t FirstFolderEnd(const std::string& path) {
  if (path.compare(0, 2, "\\\\") != 0) return 1;
  size_t server = path.find('\\', 2);
  if (server == std::string::npos) return std::string::npos;
  size_t share = path.find('\\', server + 1);
  if (share == std::string::npos || share + 1 >= path.size()) return std::string::npos;
  return share + 1;
}

}  // namespace

std::vector<std::string> FolderPathSteps(const std::string& path) {
  std::vector<std::string> steps;
  const size_t first = FirstFolderEnd(path);
  if (path.empty() || first == std::string::npos) return steps;
  for (size_t i = first; i < path.size(); ++i) {
    if (path[i] == '\\') steps.push_back(path.substr(0, i + 1));
  }
  if (path.back() != '\\') steps.push_back(path + "\\");
  return steps;
}

std::string FolderOf(const std::string& filePath) {
  size_t cut = filePath.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : filePath.substr(0, cut + 1);
}

}  // namespace krx
