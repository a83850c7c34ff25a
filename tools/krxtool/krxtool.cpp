#include "tools/krxtool/krxtool.h"

#include <iostream>
#include <unordered_set>

#include "core/record_cipher.h"
#include "core/record_file.h"
#include "core/record_text.h"
#include "core/settings_file.h"
#include "records/file_io.h"
#include "records/record_store.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace krx {
namespace {

const char kUsage[] =
    "usage: krxtool list FILE --password P\n"
    "       krxtool export FILE --password P --format text|csv|html\n"
    "       krxtool import FILE --password P   (lines on standard input)\n"
    "       krxtool config FILE\n";

#ifdef _WIN32
const char kNewline[] = "\r\n";
#else
const char kNewline[] = "\n";
#endif

struct Options {
  std::string command, file, password, format = "text";
  bool hasPassword = false;
};

bool ParseOptions(const std::vector<std::string>& args, Options& o) {
  if (args.size() < 2) return false;
  o.command = args[0];
  o.file = args[1];
  for (size_t i = 2; i < args.size(); ++i) {
    if (args[i] == "--password" && i + 1 < args.size()) {
      o.password = args[++i];
      o.hasPassword = true;
    } else if (args[i] == "--format" && i + 1 < args.size()) {
      o.format = args[++i];
    } else {
      return false;
    }
  }
  return true;
}

// Reads FILE for the password; prints the reason and returns an exit code
// other than 0 when the records cannot be had whole.
int LoadForTool(const Options& o, RecordFileRead& read, std::ostream& err) {
  std::unique_ptr<FileSource> file = FileSource::Open(o.file);
  if (!file) {
    err << "krxtool: cannot open " << o.file << "\n";
    return kExitFile;
  }
  read = ReadRecordFile(*file, o.password, &SystemWideToMultiByte);
  if (read.status == RecordFileStatus::kStampMismatch) {
    err << "krxtool: " << o.file << " is stamped with another password\n";
    return kExitWrongPassword;
  }
  if (read.status == RecordFileStatus::kDamaged) {
    err << "krxtool: " << o.file << " is damaged; " << read.records.size() << " whole records could be read\n";
    return kExitFile;
  }
  return kExitOk;
}

std::string CsvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string q = "\"";
  for (char c : s) {
    if (c == '"') q += '"';
    q += c;
  }
  return q + "\"";
}

std::string HtmlText(const std::string& s) {
  std::string h;
  for (char c : s) {
    switch (c) {
      case '&': h += "&amp;"; break;
      case '<': h += "&lt;"; break;
      case '>': h += "&gt;"; break;
      case '"': h += "&quot;"; break;
      default: h += c;
    }
  }
  return h;
}

int Export(const Options& o, std::ostream& out, std::ostream& err) {
  if (o.format != "text" && o.format != "csv" && o.format != "html") {
    err << "krxtool: unknown format " << o.format << "\n" << kUsage;
    return kExitUsage;
  }
  RecordFileRead read;
  if (int rc = LoadForTool(o, read, err)) return rc;
  if (o.format == "text") {
    for (const std::string& r : read.records) out << DateKey(r) << '\t' << RecordAddress(r) << '\t' << r << kNewline;
  } else if (o.format == "csv") {
    out << "date,address,record\r\n";
    for (const std::string& r : read.records) {
      out << CsvField(DateKey(r)) << ',' << CsvField(RecordAddress(r)) << ',' << CsvField(r) << "\r\n";
    }
  } else {
    out << "<!DOCTYPE html>" << kNewline << "<html><head><meta charset=\"windows-1252\"><title>" << HtmlText(o.file)
        << "</title></head><body>" << kNewline << "<table>" << kNewline
        << "<tr><th>Date</th><th>Address</th><th>Record</th></tr>" << kNewline;
    for (const std::string& r : read.records) {
      out << "<tr><td>" << HtmlText(DateKey(r)) << "</td><td>" << HtmlText(RecordAddress(r)) << "</td><td>"
          << HtmlText(r) << "</td></tr>" << kNewline;
    }
    out << "</table>" << kNewline << "</body></html>" << kNewline;
  }
  return kExitOk;
}

int Import(const Options& o, std::istream& in, std::ostream& out, std::ostream& err) {
  RecordFileRead read;
  if (FileExists(o.file)) {
    if (int rc = LoadForTool(o, read, err)) return rc;
  }
  std::unordered_set<std::string> present(read.records.begin(), read.records.end());
  size_t before = read.records.size();
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && present.insert(line).second) read.records.push_back(line);
  }
  if (!SaveRecordFile(o.file, SealedCopy(o.password), read.records)) {
    err << "krxtool: cannot write " << o.file << "; it was left as it was\n";
    return kExitFile;
  }
  out << "added " << (read.records.size() - before) << " of " << read.records.size() << " records" << kNewline;
  return kExitOk;
}

int Config(const Options& o, std::ostream& out, std::ostream& err) {
  std::string bytes;
  if (!ReadWholeFile(o.file, bytes)) {
    err << "krxtool: cannot read " << o.file << "\n";
    return kExitFile;
  }
  SettingsParse parse = ParseSettings(bytes);
  for (int i = 0; i < kSettingCount; ++i) {
    out << kSettingNames[i] << " = " << parse.values[i];
    if (i >= parse.valuesRead) out << " (not in the file; default)";
    out << kNewline;
  }
  if (bytes.size() > kSettingsFileSize) out << "(" << bytes.size() - kSettingsFileSize << " extra bytes ignored)" << kNewline;
  return kExitOk;
}

}  // namespace

#ifdef _WIN32
bool ManagerMutexExists() {
  HANDLE m = OpenMutexA(SYNCHRONIZE, FALSE, "Kestrelix");
  if (!m) return false;
  CloseHandle(m);
  return true;
}
#endif

int RunKrxTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
               ManagerRunningProbe managerRunning) {
  Options o;
  if (!ParseOptions(args, o)) {
    err << kUsage;
    return kExitUsage;
  }
  if (o.command == "config") return Config(o, out, err);
  if (!o.hasPassword) {
    err << "krxtool: " << o.command << " needs --password (use --password \"\" for none)\n" << kUsage;
    return kExitUsage;
  }
  if (o.command == "list") {
    RecordFileRead read;
    if (int rc = LoadForTool(o, read, err)) return rc;
    for (const std::string& r : read.records) out << r << kNewline;
    return kExitOk;
  }
  if (o.command == "export") return Export(o, out, err);
  if (o.command == "import") {
    if (managerRunning && managerRunning()) {
      err << "krxtool: Kestrelix is running; close it first, it rewrites its files when it closes\n";
      return kExitManagerRunning;
    }
    return Import(o, in, out, err);
  }
  err << kUsage;
  return kExitUsage;
}

}  // namespace krx
