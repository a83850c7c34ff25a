#pragma once
// What one browser window's add-on knows of the user's choices: the options
// of KRX.cfg, read from the User folder and read again when the file
// changes (looked at, its size and time of last write, no open, at most
// about once a second), and the white and forbidden lists, which the whole
// process shares (list_index.h).
#include <windows.h>

#include <memory>
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

// The most a white or forbidden list file may hold. A list of 100,000
// entries takes about 3 MB, and its index about seven times its file (22 MB
// measured), in the address space a 32-bit browser shares with every page
// it shows, with the file's bytes and the decoded entries on top while it
// is built. 8 MB (some 250,000 entries, about 60 MB indexed) is the most
// the add-on takes on; a larger file leaves the list it had.
constexpr ULONGLONG kMostListBytes = 8ULL * 1024 * 1024;

// Reads a whole file the way the add-on reads the user's files: read-only,
// sharing read, write and delete, so the manager can replace or delete it
// while it is open. False when it cannot be opened or read whole, or holds
// more than most bytes.
bool ReadSharedFile(const std::string& path, std::string& out, ULONGLONG most);

// Reads and indexes a white or forbidden list file; false (list untouched)
// when it cannot be read now or is larger than kMostListBytes.
bool ReadAddressList(const std::string& path, krx::AddressList& list);

struct ListIndex;
class ListIndexUse;

class AddonState {
 public:
  explicit AddonState(const std::string& programFolder);
  ~AddonState();
  AddonState(const AddonState&) = delete;
  AddonState& operator=(const AddonState&) = delete;
  // Takes the process's newest lists, and reads the options when their
  // stamp changed; unless force, the options not more often than about
  // once a second. Never reads a list file; never throws.
  void Refresh(bool force);

  // Held while the add-on handles one of the browser's events. An event
  // that the browser fires from within another (a status text, a Stop)
  // keeps the outer one's lists, which it may still be reading; at the end
  // of the outermost one the lists are let go, so that a window left idle
  // keeps no replaced index alive beside the process's newest.
  class Event {
   public:
    explicit Event(AddonState& state) : state_(state) { ++state_.events_; }
    ~Event() {
      if (--state_.events_ == 0) state_.index_.reset();
    }
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

   private:
    AddonState& state_;
  };

  const krx::SettingValues& options() const { return options_; }
  // The process's lists as of the last Refresh. Before the process ever
  // had them, the first call waits for them (ListIndexUse::First): a
  // window's first navigation is decided on the lists, never on none.
  const krx::AddressList& white();
  const krx::AddressList& forbidden();
  const std::string& tmpFolder() const { return tmp_; }

 private:
  struct Watched {
    std::string path;
    FileStamp stamp;
    bool read = false;  // read at least once with its current stamp
  };
  void RefreshOptions();

  std::string tmp_;
  Watched cfg_;
  krx::SettingValues options_;
  std::unique_ptr<ListIndexUse> lists_;
  std::shared_ptr<const ListIndex> index_;  // as of the last Refresh
  int events_ = 0;                          // Events being handled, nested
  DWORD lastCheck_ = 0;
  bool checked_ = false;
};

}  // namespace krx_addon
