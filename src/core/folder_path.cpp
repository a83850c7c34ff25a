#include "core/folder_path.h"

namespace krx {

std::vector<std::string> FolderPathSteps(const std::string& path) {
  std::vector<std::string> steps;
  for (size_t i = 1; i < path.size(); ++i) {
    if (path[i] == '\\') steps.push_back(path.substr(0, i + 1));
  }
  if (!path.empty() && path.back() != '\\') steps.push_back(path + "\\");
  return steps;
}

std::string FolderOf(const std::string& filePath) {
  size_t cut = filePath.find_last_of("\\/");
  return cut == std::string::npos ? std::string() : filePath.substr(0, cut + 1);
}

}  // namespace krx
