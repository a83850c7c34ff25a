#include "list_index.h"

#include <cstddef>
#include <mutex>
#include <utility>
#include <vector>

#include "com_module.h"
#include "core/shared_uses.h"

namespace krx_addon {
namespace {

constexpr DWORD kCheckIntervalMs = 1000;

// How long a window's first decision waits for the reader's first index
// (100,000 entries are in well within a second) before it reads the lists
// itself; it never decides on lists not read.
constexpr DWORD kFirstIndexWaitMs = 2000;
// How soon the reader looks again at a list file it could not read while
// the process has no index yet.
constexpr DWORD kFirstRetryMs = 50;

// One run of the reader thread. A reader that was told to stop may still
// be finishing a file while the next window starts a new one: it publishes
// nothing once it is no longer the process's reader.
struct Reader {
  explicit Reader(const std::string& userFolder)
      : whitePath(userFolder + "white.log"), forbiddenPath(userFolder + "forbid.log"),
        stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Reader() {
    if (stop) CloseHandle(stop);
  }
  Reader(const Reader&) = delete;
  Reader& operator=(const Reader&) = delete;

  const std::string whitePath, forbiddenPath;
  const HANDLE stop;
  // Indexes replaced while a window still held them: let go here, on the
  // reader's thread, once no window holds them any more, so that freeing
  // 100,000 entries never falls to a browser's thread.
  std::vector<std::shared_ptr<const ListIndex>> retired;
  unsigned firstTries = 0;  // looks at a file it could not read, before any index
};

// What the process shares, guarded by lock; the lock is held for pointer
// copies only, never for a file or an index being built. Made at the first
// use and let go by ReleaseListIndex when the library is unloaded, not at
// the process's end: the threads ended there may have held the lock or the
// heap, and the system gives the memory back anyway.
struct Shared {
  Shared() : firstIn(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Shared() {
    if (firstIn) CloseHandle(firstIn);
  }
  Shared(const Shared&) = delete;
  Shared& operator=(const Shared&) = delete;

  std::mutex lock;
  std::shared_ptr<const ListIndex> index;
  std::shared_ptr<Reader> reader;
  krx::SharedUses uses;
  const HANDLE firstIn;  // set once the process has an index
};
Shared* g_shared = nullptr;

Shared& TheShared() {
  static Shared* const made = g_shared = new Shared;
  return *made;
}

std::shared_ptr<const ListIndex> Newest() {
  std::lock_guard<std::mutex> held(TheShared().lock);
  return TheShared().index;
}

// A list whose file did not change since `was` was read is taken over as
// it is; a changed one is read and indexed anew. A file that cannot be read
// now (held without sharing, larger than a list may be) keeps the list and
// the stamp it had, so that it is tried again at the next check; false then.
bool TakeList(const std::string& path, const std::shared_ptr<const krx::AddressList>& was, const FileStamp& wasStamp,
              std::shared_ptr<const krx::AddressList>& list, FileStamp& stamp) {
  const FileStamp now = StampOf(path);
  list = was;
  stamp = wasStamp;
  if (was && now == wasStamp) return true;
  auto fresh = std::make_shared<krx::AddressList>();
  if (now.exists && !ReadAddressList(path, *fresh)) return false;
  list = std::move(fresh);
  stamp = now;
  return true;
}

// The index of the two files after was (null for the first one); null when
// neither list changed. unread: a file is there that could not be read now.
std::shared_ptr<ListIndex> Indexed(const std::string& whitePath, const std::string& forbiddenPath,
                                   const std::shared_ptr<const ListIndex>& was, bool* unread = nullptr) {
  static const FileStamp kNever;
  auto next = std::make_shared<ListIndex>();
  const bool white =
      TakeList(whitePath, was ? was->white : nullptr, was ? was->whiteStamp : kNever, next->white, next->whiteStamp);
  const bool forbidden = TakeList(forbiddenPath, was ? was->forbidden : nullptr, was ? was->forbiddenStamp : kNever,
                                  next->forbidden, next->forbiddenStamp);
  if (unread) *unread = !white || !forbidden;
  if (was && next->white == was->white && next->forbidden == was->forbidden) return nullptr;
  if (!next->white) next->white = std::make_shared<krx::AddressList>();
  if (!next->forbidden) next->forbidden = std::make_shared<krx::AddressList>();
  return next;
}

// True once the process has an index. The first is never made with a list
// whose file is there but could not be read (held without sharing for a
// moment): it would let what the file forbids pass. The first decision
// waits for it meanwhile, and the reader looks again soon.
bool CheckOnce(Reader& reader) {
  const std::shared_ptr<const ListIndex> was = Newest();
  bool unread = false;
  std::shared_ptr<ListIndex> next = Indexed(reader.whitePath, reader.forbiddenPath, was, &unread);
  // Not for ever: a file that stays unreadable (larger than a list may be)
  // gives the lists as they can be read, as it does later on.
  if (!was && unread && reader.firstTries++ < kFirstIndexWaitMs / kFirstRetryMs) return false;
  if (!next) return true;
  std::shared_ptr<const ListIndex> replaced;
  {
    Shared& shared = TheShared();
    std::lock_guard<std::mutex> held(shared.lock);
    if (shared.reader.get() != &reader) return true;
    replaced = std::move(shared.index);
    shared.index = std::move(next);
    if (shared.firstIn) SetEvent(shared.firstIn);
  }
  if (replaced) reader.retired.push_back(std::move(replaced));
  return true;
}

// Only the reader holds what it retired once a window's count is gone;
// nothing hands out a retired index again, so a count of one is final.
void DropRetired(Reader& reader) {
  auto& r = reader.retired;
  for (size_t i = r.size(); i-- > 0;) {
    if (r[i].use_count() == 1) r.erase(r.begin() + std::ptrdiff_t(i));
  }
}

void Run(const std::shared_ptr<Reader>& reader) {
  DWORD wait = kCheckIntervalMs;
  do {
    try {
      wait = CheckOnce(*reader) ? kCheckIntervalMs : kFirstRetryMs;
      DropRetired(*reader);
    } catch (...) {
      // Out of memory while reading a list: the windows keep the index
      // they have, and the next check tries again.
    }
  } while (WaitForSingleObject(reader->stop, wait) == WAIT_TIMEOUT);
}

DWORD WINAPI ReaderThread(void* parameter) {
  {
    std::unique_ptr<std::shared_ptr<Reader>> reader(static_cast<std::shared_ptr<Reader>*>(parameter));
    Run(*reader);
  }
  // The reference taken in Start: the library stays loaded until this
  // thread no longer runs any of its code.
  FreeLibraryAndExitThread(Module(), 0);
  return 0;
}

// Called under the shared lock. Never from DllMain: a thread started under the
// loader lock would not run until DllMain returned.
void Start(const std::string& userFolder) {
  auto reader = std::make_shared<Reader>(userFolder);
  if (!reader->stop) return;
  HMODULE pinned = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&ReaderThread),
                          &pinned)) {
    return;
  }
  auto* parameter = new std::shared_ptr<Reader>(reader);
  HANDLE thread = CreateThread(nullptr, 0, &ReaderThread, parameter, 0, nullptr);
  if (!thread) {
    delete parameter;
    FreeLibrary(pinned);
    return;
  }
  CloseHandle(thread);
  TheShared().reader = std::move(reader);
}

}  // namespace

ListIndexUse::ListIndexUse(const std::string& userFolder) : folder_(userFolder) {
  Shared& shared = TheShared();
  std::lock_guard<std::mutex> held(shared.lock);
  // A start that throws counts no use: the constructor throws with it, and
  // no destructor would ever take the use back.
  shared.uses.Join(shared.reader != nullptr, [&] { Start(userFolder); });
}

ListIndexUse::~ListIndexUse() {
  std::shared_ptr<Reader> stopping;
  {
    Shared& shared = TheShared();
    std::lock_guard<std::mutex> held(shared.lock);
    if (!shared.uses.Leave()) return;
    stopping = std::move(shared.reader);
  }
  // Told, not waited for: the window's thread goes on at once.
  if (stopping) SetEvent(stopping->stop);
}

std::shared_ptr<const ListIndex> ListIndexUse::Current() const { return Newest(); }

std::shared_ptr<const ListIndex> ListIndexUse::First() const {
  if (std::shared_ptr<const ListIndex> index = Newest()) return index;
  Shared& shared = TheShared();
  if (shared.firstIn) WaitForSingleObject(shared.firstIn, kFirstIndexWaitMs);
  if (std::shared_ptr<const ListIndex> index = Newest()) return index;
  // No reader runs (its thread could not start) or it is held up (a list
  // file held for longer): the lists are read here, once for the whole
  // process, as they can be read now.
  std::shared_ptr<const ListIndex> built = Indexed(folder_ + "white.log", folder_ + "forbid.log", nullptr);
  std::lock_guard<std::mutex> held(shared.lock);
  if (!shared.index) {
    shared.index = std::move(built);
    if (shared.firstIn) SetEvent(shared.firstIn);
  }
  return shared.index;
}

void ReleaseListIndex() {
  // Unloaded: no window is sited and the reader has ended (it held the
  // library loaded until then).
  delete g_shared;
  g_shared = nullptr;
}

}  // namespace krx_addon
