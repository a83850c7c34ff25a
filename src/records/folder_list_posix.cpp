#include "records/folder_list.h"

#include <filesystem>

#include "core/day_file_names.h"
#include "records/file_fault_hook.h"

namespace krx {

std::vector<std::string> FindFilesWithExtension(const std::string& folder, const char*, const char* extension) {
  std::vector<std::string> paths;
  std::string base = folder;
  if (!base.empty() && base.back() != '/') base.push_back('/');
  if (InjectedFileFault(FileOp::kOpen, base)) return paths;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
    std::string name = entry.path().filename().string();
    if (entry.is_regular_file(ec) && HasExtension(name, extension)) paths.push_back(base + name);
  }
  return paths;
}

}  // namespace krx
