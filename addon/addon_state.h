#pragma once
// What one browser window's add-on knows of the user's choices: the options
// of KRX.cfg and the white and forbidden lists, read from the User folder and
// read again when a file changes. A file is looked at (its size and time of
// last write, no open) at most about once a second.
#include <windows.h>

#include <string>

#include "core/addon_rules.h"

namespace krx_addon {

// Size and last write of a file; "missing" is a state of its own so that a
// file that appears or goes is seen as a change.
struct FileStamp {
  bool exists = false;
  ULONGLONG size = 0;
  FILETIME written = {0, 0};
  bool operator==(const FileStamp& o) const {
    return exists == o.exists && size == o.size && written.dwLowDateTime == o.written.dwLowDateTime &&
           written.dwHighDateTime == o.written.dwHighDateTime;
  }
};
FileStamp StampOf(const std::string& path);

// Reads a whole file the way the add-on reads the user's files: read-only,
// sharing read, write and delete, so the manager can replace or delete it
// while it is open. False when it cannot be opened or read whole.
bool ReadSharedFile(const std::string& path, std::string& out);

class AddonState {
 public:
  explicit AddonState(const std::string& programFolder);
  // Reads every file whose stamp changed; unless force, not more often than
  // about once a second. Never throws.
  void Refresh(bool force);

  const krx::SettingValues& options() const { return options_; }
  const krx::AddressList& white() const { return white_; }
  const krx::AddressList& forbidden() const { return forbidden_; }
  const std::string& tmpFolder() const { return tmp_; }

 private:
  struct Watched {
    std::string path;
    FileStamp stamp;
    bool read = false;  // read at least once with its current stamp
  };
  void RefreshOptions();
  void RefreshList(Watched& file, krx::AddressList& list);

  std::string tmp_;
  Watched cfg_, white_file_, forbid_file_;
  krx::SettingValues options_;
  krx::AddressList white_, forbidden_;
  DWORD lastCheck_ = 0;
  bool checked_ = false;
};

}  // namespace krx_addon
