#include "records/export_file.h"

#include <ostream>

#include "core/sink_stream.h"
#include "records/busy_cursor.h"
#include "records/file_io.h"

namespace krx {

bool WriteExportFile(const std::string& path, const ExportRequest& request, const StringArray& records) {
  BusyCursor cursor;  // a log of a million records takes a second or so
  AtomicFileWriter file;
  if (!file.Open(path)) return false;
  SinkStreamBuffer buffer(file);
  std::ostream out(&buffer);
  WriteExport(out, request, records);
  out.flush();
  return out && file.Commit();
}

}  // namespace krx
