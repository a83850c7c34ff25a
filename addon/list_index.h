#pragma once
// The white and forbidden lists of the whole browser process, indexed once
// and shared by all its windows. A reader thread of the library's own looks
// at the two files about once a second, reads and indexes a file that
// changed and swaps the new index in whole. A window's thread only takes
// the newest index (a lock held for one pointer copy): it never reads a list
// file and never waits for the reader. Until the first index is ready a
// window uses the one before it; the first decision a process makes waits
// for the first index (ListIndexUse::First).
#include <windows.h>

#include <memory>
#include <string>

#include "addon_state.h"
#include "core/addon_rules.h"

namespace krx_addon {

// One index as the reader built it, never changed afterwards; each list
// with the stamp of the file it was read from, so that a list whose file
// did not change is shared by the next index instead of read again.
struct ListIndex {
  std::shared_ptr<const krx::AddressList> white, forbidden;
  FileStamp whiteStamp, forbiddenStamp;
};

// A browser window's share in the process's lists, held while it is sited:
// the first share starts the reader, the last one tells it to stop and lets
// go without waiting (the thread holds the library loaded until it has
// ended, so the library may be unloaded the moment COM asks).
class ListIndexUse {
 public:
  // userFolder ends in a backslash and holds white.log and forbid.log.
  explicit ListIndexUse(const std::string& userFolder);
  ~ListIndexUse();
  ListIndexUse(const ListIndexUse&) = delete;
  ListIndexUse& operator=(const ListIndexUse&) = delete;

  // The newest index; null before the process ever had one.
  std::shared_ptr<const ListIndex> Current() const;
  // The newest index, never null: before the process has one, waits for
  // the reader's first (bounded) and then reads the lists on this thread.
  std::shared_ptr<const ListIndex> First() const;

 private:
  const std::string folder_;
};

// Lets go of the last index when the library is unloaded (DllMain, not at
// the process's end).
void ReleaseListIndex();

}  // namespace krx_addon
