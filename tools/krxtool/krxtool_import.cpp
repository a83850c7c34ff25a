// import: appends the lines of standard input that a record file lacks,
// through the same merge index the manager uses for day files.
#include <istream>
#include <ostream>

#include "core/password_rules.h"
#include "core/record_cipher.h"
#include "records/file_io.h"
#include "records/record_store.h"
#include "tools/krxtool/krxtool_internal.h"

namespace krx {
namespace tool {
namespace {

// A file the manager would never load is worse than no file: it skips it at
// start and overwrites it at its next save, and the imported lines are gone.
// So the password has to be one the manager can hold, and the one it holds.
int CheckPasswordForManager(const Options& o, std::ostream& err) {
  if (o.password.size() > size_t(kPasswordLimit)) {
    err << "krxtool: a password has at most " << kPasswordLimit
        << " characters; Kestrelix would never load a file stamped with this one\n";
    return kExitUsage;
  }
  const std::string userSav = FolderOf(o.operands[0]) + kPasswordFileName;
  if (!FileExists(userSav)) return kExitOk;
  std::string sealed;
  if (!ReadWholeFile(userSav, sealed)) {
    err << "krxtool: cannot read " << userSav << " to check the password\n";
    return kExitFile;
  }
  if (!SealedMatches(sealed, o.password)) {
    err << "krxtool: the password is not the one in " << userSav << "; Kestrelix would not load "
        << o.operands[0] << " and would overwrite it\n";
    return kExitWrongPassword;
  }
  return kExitOk;
}

// Whole input into one string; false when the stream broke off (a read
// error is not an end of input).
bool ReadAll(std::istream& in, std::string& text) {
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    text.append(chunk, size_t(in.gcount()));
    if (in.eof()) break;
  }
  return !in.bad();
}

}  // namespace

int Import(const Options& o, std::istream& in, std::ostream& out, std::ostream& err, ManagerRunningProbe probe) {
  const std::string& file = o.operands[0];
  if (probe && probe()) {
    err << "krxtool: Kestrelix is running; close it first, it rewrites its files when it closes\n";
    return kExitManagerRunning;
  }
  if (int rc = CheckPasswordForManager(o, err)) return rc;
  RecordFileRead read;
  if (FileExists(file)) {
    if (int rc = LoadForTool(file, o.password, read, err)) return rc;
  }
  std::string input;
  if (!ReadAll(in, input)) {
    err << "krxtool: reading standard input failed; " << file << " was left as it was\n";
    return kExitFile;
  }
  const size_t before = read.records.size();
  MergeTarget target(read.records);
  target.MergeTextLines(input);
  input = std::string();  // the records hold their own bytes now; the save needs the room
  if (!SaveRecordFile(file, SealedCopy(o.password), read.records)) {
    err << "krxtool: cannot write " << file << "; it was left as it was\n";
    return kExitFile;
  }
  out << "added " << (read.records.size() - before) << " of " << read.records.size() << " records" << kNewline;
  return kExitOk;
}

}  // namespace tool
}  // namespace krx
