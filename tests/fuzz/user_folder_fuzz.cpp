// Any bytes as a file in the user folder, read the way the program reads
// it there: as a record file through LoadRecordFiles (a damaged one is
// copied aside first), and as user.sav through the start-up check and the
// login. The results must agree with the core readers on the same bytes,
// and what a load kept must save and load back the same.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/archive.h"
#include "core/record_cipher.h"
#include "core/record_file.h"
#include "records/file_io.h"
#include "records/password_store.h"
#include "records/record_store.h"

namespace fs = std::filesystem;

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// One folder per process in memory-backed storage, removed at exit.
// (Kept for the whole process: the removal at exit runs after static
// objects are gone.)
const std::string& UserFolder() {
  static const std::string* folder = [] {
    fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    fs::path p = base / ("krx-fuzz-" + std::to_string(getpid()));
    fs::create_directories(p);
    std::atexit([] {
      std::error_code ignored;
      fs::remove_all(fs::path(UserFolder()), ignored);
    });
    return new std::string(p.string() + "/");
  }();
  return *folder;
}

void Empty(const std::string& folder) {
  for (const auto& e : fs::directory_iterator(folder)) fs::remove(e.path());
}

krx::RecordFileOutcome OutcomeOf(krx::RecordFileStatus status) {
  switch (status) {
    case krx::RecordFileStatus::kLoaded: return krx::RecordFileOutcome::kLoaded;
    case krx::RecordFileStatus::kStampMismatch: return krx::RecordFileOutcome::kStampMismatch;
    case krx::RecordFileStatus::kDamaged: return krx::RecordFileOutcome::kDamaged;
  }
  return krx::RecordFileOutcome::kMissing;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string& folder = UserFolder();
  Empty(folder);
  // The visit log from the input; a list whose file is missing keeps what it held.
  Check(krx::WriteFileAtomic(folder + krx::kRecordFileNames[krx::kVisitRecords], bytes));
  krx::RecordCollections collections;
  collections[krx::kWhiteList] = {"kept"};
  krx::RecordLoadReport report = krx::LoadRecordFiles(folder, "", collections);

  krx::MemorySource source(bytes);
  krx::RecordFileRead read = krx::ReadRecordFile(source, "");
  // In a log, records that cannot be records mark the file damaged; the rest are kept.
  if (krx::RemoveRecordsThatAreNoRecords(read.records) > 0) read.status = krx::RecordFileStatus::kDamaged;
  Check(report.outcome[krx::kVisitRecords] == OutcomeOf(read.status));
  Check(collections[krx::kVisitRecords] == read.records);
  for (int i = 1; i < krx::kRecordCollectionCount; ++i) Check(report.outcome[i] == krx::RecordFileOutcome::kMissing);
  Check(collections[krx::kWhiteList] == krx::StringArray{"kept"});
  if (read.status == krx::RecordFileStatus::kDamaged) {
    std::string copy;
    Check(report.damagedCopies.size() == 1 && krx::ReadWholeFile(report.damagedCopies[0], copy) && copy == bytes);
  } else {
    Check(report.damagedCopies.empty());
  }

  // Whatever the load kept is saved whole and loads back the same.
  Check(krx::SaveRecordFiles(folder, "", collections).empty());
  krx::RecordCollections again;
  krx::LoadRecordFiles(folder, "", again);
  Check(again.lists == collections.lists);

  // The same bytes as user.sav. An empty user.sav is stood in for by the
  // record files' stamp, which the save above made for the empty password.
  Check(krx::WriteFileAtomic(krx::PasswordFilePath(folder), bytes));
  const bool emptyPassword = krx::SealedMatches(bytes.empty() ? krx::SealedCopy("") : bytes, "");
  Check(krx::LoginRequired(folder) == !emptyPassword);
  krx::LoginResult login = krx::SubmitLogin(folder, "");
  Check(login == (emptyPassword ? krx::LoginResult::kAccepted : krx::LoginResult::kIncorrect));
  return 0;
}
