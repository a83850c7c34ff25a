#include "addon_state.h"

#include <utility>

#include "address_text.h"
#include "core/archive.h"
#include "list_index.h"

namespace krx_addon {
namespace {

constexpr DWORD kCheckIntervalMs = 1000;
// KRX.cfg holds a few hundred bytes.
constexpr ULONGLONG kMostOptionBytes = 1024 * 1024;

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

bool ReadSharedFile(const std::string& path, std::string& out, ULONGLONG most) {
  out.clear();
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  LARGE_INTEGER size;
  if (!GetFileSizeEx(h, &size) || ULONGLONG(size.QuadPart) > most) {
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

bool ReadAddressList(const std::string& path, krx::AddressList& list) {
  std::string bytes;
  if (!ReadSharedFile(path, bytes, kMostListBytes)) return false;
  krx::StringArray entries;
  krx::MemorySource source(bytes);
  // A damaged file still gives the entries read whole before the damage.
  krx::ReadListFile(source, entries, &AddressTextOfWide);
  for (std::string& entry : entries) ToAddressText(entry);
  bytes = std::string();  // the file's bytes go before the index is built
  list.Assign(entries);
  return true;
}

AddonState::AddonState(const std::string& programFolder) : options_(krx::ReadAddonOptions(std::string())) {
  tmp_ = programFolder + "tmp\\";
  const std::string user = programFolder + "User\\";
  cfg_.path = user + "KRX.cfg";
  lists_.reset(new ListIndexUse(user));
}

AddonState::~AddonState() = default;

const krx::AddressList& AddonState::white() {
  if (!index_) index_ = lists_->First();
  return *index_->white;
}

const krx::AddressList& AddonState::forbidden() {
  if (!index_) index_ = lists_->First();
  return *index_->forbidden;
}

void AddonState::Refresh(bool force) {
  // The old index, if this was its last holder besides the reader, is let
  // go by the reader's thread (list_index.cpp), not here.
  if (events_ <= 1 || !index_) index_ = lists_->Current();
  const DWORD now = GetTickCount();
  if (!force && checked_ && now - lastCheck_ < kCheckIntervalMs) return;
  checked_ = true;
  lastCheck_ = now;
  try {
    RefreshOptions();
  } catch (...) {
    // Out of memory while reading the options: keep what was known before.
  }
}

void AddonState::RefreshOptions() {
  FileStamp stamp = StampOf(cfg_.path);
  if (cfg_.read && stamp == cfg_.stamp) return;
  std::string bytes;
  if (stamp.exists && !ReadSharedFile(cfg_.path, bytes, kMostOptionBytes)) {
    // Held by another program without sharing: keep the last options and
    // look again at the next check.
    return;
  }
  options_ = krx::ReadAddonOptions(bytes);
  cfg_.stamp = stamp;
  cfg_.read = true;
}

}  // namespace krx_addon
