#include "addon_state.h"

#include <utility>

#include "address_text.h"
#include "core/archive.h"

namespace krx_addon {
namespace {

constexpr DWORD kCheckIntervalMs = 1000;

}  // namespace

FileStamp StampOf(const std::string& path) {
  FileStamp s;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return s;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return s;
  s.exists = true;
  s.size = (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  s.written = data.ftLastWriteTime;
  return s;
}

bool ReadSharedFile(const std::string& path, std::string& out) {
  out.clear();
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  LARGE_INTEGER size;
  // The lists are the user's own: far below this; a bigger file is not one of ours.
  if (!GetFileSizeEx(h, &size) || size.QuadPart > 512LL * 1024 * 1024) {
    ok = false;
  } else {
    out.resize(size_t(size.QuadPart));
    size_t got = 0;
    while (got < out.size()) {
      DWORD n = 0;
      if (!ReadFile(h, &out[got], DWORD(out.size() - got), &n, nullptr) || n == 0) break;
      got += n;
    }
    // A file that shrank meanwhile was being replaced: what was read is
    // what it held when opened (the manager replaces it in one step).
    out.resize(got);
  }
  CloseHandle(h);
  return ok;
}

AddonState::AddonState(const std::string& programFolder) : options_(krx::ReadAddonOptions(std::string())) {
  tmp_ = programFolder + "tmp\\";
  const std::string user = programFolder + "User\\";
  cfg_.path = user + "KRX.cfg";
  white_file_.path = user + "white.log";
  forbid_file_.path = user + "forbid.log";
}

void AddonState::Refresh(bool force) {
  const DWORD now = GetTickCount();
  if (!force && checked_ && now - lastCheck_ < kCheckIntervalMs) return;
  checked_ = true;
  lastCheck_ = now;
  try {
    RefreshOptions();
    RefreshList(white_file_, white_);
    RefreshList(forbid_file_, forbidden_);
  } catch (...) {
    // Out of memory while reading a list: keep what was known before.
  }
}

void AddonState::RefreshOptions() {
  FileStamp stamp = StampOf(cfg_.path);
  if (cfg_.read && stamp == cfg_.stamp) return;
  std::string bytes;
  if (stamp.exists && !ReadSharedFile(cfg_.path, bytes)) {
    // Held by another program without sharing: keep the last options and
    // look again at the next check.
    return;
  }
  options_ = krx::ReadAddonOptions(bytes);
  cfg_.stamp = stamp;
  cfg_.read = true;
}

void AddonState::RefreshList(Watched& file, krx::AddressList& list) {
  FileStamp stamp = StampOf(file.path);
  if (file.read && stamp == file.stamp) return;
  krx::StringArray entries;
  if (stamp.exists) {
    std::string bytes;
    if (!ReadSharedFile(file.path, bytes)) return;  // tried again at the next check
    krx::MemorySource source(bytes);
    // A damaged file still gives the entries read whole before the damage.
    krx::ReadListFile(source, entries, &AddressTextOfWide);
    for (std::string& entry : entries) ToAddressText(entry);
  }
  list.Assign(entries);
  file.stamp = stamp;
  file.read = true;
}

}  // namespace krx_addon
