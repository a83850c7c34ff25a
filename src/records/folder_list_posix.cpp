#include "records/folder_list.h"

#include <filesystem>

#include "core/day_file_names.h"
#include "records/file_fault_hook.h"

namespace krx {

std::vector<std::string> FindFilesWithExtension(const std::string& folder, const char*, const char* extension,
                                                bool* failed) {
  if (failed) *failed = false;
  std::vector<std::string> paths;
  std::string base = folder;
  if (!base.empty() && base.back() != '/') base.push_back('/');
  if (InjectedFileFault(FileOp::kOpen, base)) {
    if (failed) *failed = true;
    return paths;
  }
  std::error_code ec;
  std::filesystem::directory_iterator list(base, ec);
  if (ec && failed) *failed = ec != std::errc::no_such_file_or_directory;
  for (const auto& entry : list) {
    std::string name = entry.path().filename().string();
    if (entry.is_regular_file(ec) && HasExtension(name, extension)) paths.push_back(base + name);
  }
  return paths;
}

}  // namespace krx
