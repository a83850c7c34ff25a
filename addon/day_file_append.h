#pragma once
// One line added to a day file the way the manager can live with: the whole
// line with its CR LF in a single write at the end of the file.
#include <string>

namespace krx_addon {

// Opens (or creates) path for appending, sharing read, write and delete so
// the manager may read or delete the file at any moment, writes the line in
// one WriteFile and closes the file. Writers in other windows and processes
// take turns through a lock on one byte far past any real file end, which
// no reader ever touches. False when the file cannot be opened or written.
bool AppendDayLine(const std::string& path, const std::string& line);

}  // namespace krx_addon
