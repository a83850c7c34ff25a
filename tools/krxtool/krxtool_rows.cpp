#include <ostream>

#include "core/record_text.h"
#include "records/file_io.h"
#include "tools/krxtool/krxtool_internal.h"

namespace krx {
namespace tool {

int LoadForTool(const std::string& path, const std::string& password, RecordFileRead& read, std::ostream& err) {
  std::unique_ptr<FileSource> file = FileSource::Open(path);
  if (!file) {
    err << "krxtool: cannot open " << path << "\n";
    return kExitFile;
  }
  read = ReadRecordFile(*file, password, &SystemWideToMultiByte);
  if (read.status == RecordFileStatus::kStampMismatch) {
    err << "krxtool: " << path << " is stamped with another password\n";
    return kExitWrongPassword;
  }
  if (read.status == RecordFileStatus::kDamaged) {
    err << "krxtool: " << path << " is damaged; " << read.records.size() << " whole records could be read\n";
    return kExitFile;
  }
  return kExitOk;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

}  // namespace tool
}  // namespace krx
