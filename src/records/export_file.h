#pragma once
// An export written to a file as the window's Export writes it: streamed
// into a file beside the target, which takes its place only once every byte
// went out. A full disk leaves no half file and an old file untouched.
#include <string>

#include "core/log_export.h"

namespace krx {

// False when the file could not be written whole; the caller says so.
bool WriteExportFile(const std::string& path, const ExportRequest& request, const StringArray& records);

}  // namespace krx
