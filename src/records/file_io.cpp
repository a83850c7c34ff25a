// What the file layer does the same way on every platform.
#include "records/file_io.h"

namespace krx {

bool WriteFileAtomic(const std::string& path, const std::string& bytes) {
  AtomicFileWriter writer;
  return writer.Open(path) && writer.Write(bytes.data(), bytes.size()) && writer.Commit();
}

}  // namespace krx
