#include "tools/krxtool/krxtool.h"

#include <cstdlib>
#include <cstring>
#include <ostream>

#include "core/log_export.h"
#include "core/settings_file.h"
#include "records/file_io.h"
#include "tools/krxtool/krxtool_internal.h"

namespace krx {
namespace {

using tool::kNewline;
using tool::Options;

const char kUsage[] =
    "usage: krxtool list FILE --password P\n"
    "       krxtool export FILE --password P [--format text|csv|html] [CHOICE]\n"
    "       krxtool import FILE --password P   (lines on standard input)\n"
    "       krxtool stats FILE --password P [--format text|csv|html] [CHOICE]\n"
    "       krxtool sites FILE --password P [--format text|csv|html] [CHOICE] [--new]\n"
    "       krxtool search PATTERN FILE... --password P [--format text|csv|html] [--match-case|--ignore-case]\n"
    "       krxtool config FILE\n"
    "       krxtool --help\n"
    "CHOICE: [--days FROM..TO | --last N] [--filter TEXT]\n"
    "        dates as MM/DD/YYYY or YYYY-MM-DD; FROM.. and ..TO leave an end open;\n"
    "        --last N: the N calendar days up to the newest day of the log;\n"
    "        --filter: the lines that hold TEXT, case as the window's Find (KRX.cfg beside FILE)\n"
    "exit codes: 0 done, 1 usage, 2 file missing, unwritable or damaged (or output failed),\n"
    "            3 another password's file, 4 Kestrelix is running\n";

// What each command takes: its operands and the options that mean something to it.
struct CommandRule {
  const char* name;
  size_t minOperands, maxOperands;
  bool password;
  const char* formats;  // nullptr: no --format
  bool caseOptions;
  bool choice;  // --days, --last, --filter
};

const CommandRule kCommands[] = {
    {"list", 1, 1, true, nullptr, false, false},
    {"export", 1, 1, true, "text csv html", false, true},
    {"import", 1, 1, true, nullptr, false, false},
    {"stats", 1, 1, true, "text csv html", false, true},
    {"sites", 1, 1, true, "text csv html", false, true},
    {"search", 2, size_t(-1), true, "text csv html", true, false},
    {"config", 1, 1, false, nullptr, false, false},
};

bool FormatAllowed(const char* formats, const std::string& format) {
  std::string list = std::string(" ") + formats + " ";
  return !format.empty() && list.find(" " + format + " ") != std::string::npos;
}

// Returns kExitOk with o filled, or prints why not and returns kExitUsage.
int ParseOptions(const std::vector<std::string>& args, Options& o, std::ostream& err) {
  if (args.empty()) {
    err << kUsage;
    return kExitUsage;
  }
  o.command = args[0];
  const CommandRule* rule = nullptr;
  for (const CommandRule& r : kCommands) {
    if (o.command == r.name) rule = &r;
  }
  if (!rule) {
    err << "krxtool: unknown command " << o.command << "\n" << kUsage;
    return kExitUsage;
  }
  bool operandsOnly = false;  // after "--" a pattern may begin with '-'
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (operandsOnly || a == "--") {
      if (operandsOnly) o.operands.push_back(a);
      operandsOnly = true;
      continue;
    }
    const bool valued = a == "--password" || a == "--format" || a == "--days" || a == "--last" || a == "--filter";
    if (valued && i + 1 >= args.size()) {
      err << "krxtool: " << a << " needs a value\n" << kUsage;
      return kExitUsage;
    }
    std::string problem;
    if (a == "--password") {
      if (!rule->password) problem = "--password does not apply to " + o.command;
      o.password = args[++i];
      o.hasPassword = true;
    } else if (a == "--format") {
      o.format = args[++i];
      o.hasFormat = true;
      if (!rule->formats) {
        problem = "--format does not apply to " + o.command;
      } else if (!FormatAllowed(rule->formats, o.format)) {
        problem = "unknown format " + o.format + " for " + o.command;
      }
    } else if (a == "--days" || a == "--last" || a == "--filter") {
      const std::string& value = args[++i];
      if (!rule->choice) {
        problem = a + " does not apply to " + o.command;
      } else if (a == "--days") {
        o.days = value;
      } else if (a == "--filter") {
        o.filter = value;
        o.hasFilter = true;
      } else {
        char* end = nullptr;
        o.last = std::strtol(value.c_str(), &end, 10);
        if (value.empty() || *end != '\0' || o.last <= 0) problem = "--last needs a number of days above 0";
      }
      if (problem.empty() && !o.days.empty() && o.last > 0) problem = "--days and --last do not go together";
    } else if (a == "--new") {
      if (o.command != "sites") problem = "--new does not apply to " + o.command;
      o.onlyNew = true;
    } else if (a == "--match-case" || a == "--ignore-case") {
      if (!rule->caseOptions) problem = a + " does not apply to " + o.command;
      o.matchCase = a == "--match-case" ? 1 : 0;
    } else if (a.size() > 1 && a[0] == '-') {
      problem = "unknown option " + a;
    } else {
      o.operands.push_back(a);
    }
    if (!problem.empty()) {
      err << "krxtool: " << problem << "\n" << kUsage;
      return kExitUsage;
    }
  }
  if (o.operands.size() < rule->minOperands || o.operands.size() > rule->maxOperands) {
    err << "krxtool: " << o.command << (o.operands.size() < rule->minOperands ? " needs " : " takes ")
        << (rule->minOperands == 1 ? "one file" : "a pattern and at least one file") << "\n" << kUsage;
    return kExitUsage;
  }
  if (rule->password && !o.hasPassword) {
    err << "krxtool: " << o.command << " needs --password (use --password \"\" for none)\n" << kUsage;
    return kExitUsage;
  }
  if (o.command == "search" && o.operands[0].empty()) {
    err << "krxtool: search needs a text to look for\n";
    return kExitUsage;
  }
  return kExitOk;
}

int List(const Options& o, std::ostream& out, std::ostream& err) {
  RecordFileRead read;
  int rc = tool::LoadForTool(o.operands[0], o.password, read, err);
  // A damaged file (a .bad copy, say) still gives the records read whole, so
  // they can be imported back; the exit code still says it was damaged.
  if (rc != kExitOk && read.status != RecordFileStatus::kDamaged) return rc;
  for (const std::string& r : read.records) out << r << kNewline;
  return rc;
}

int Export(const Options& o, std::ostream& out, std::ostream& err) {
  RecordFileRead read;
  if (int rc = tool::LoadForTool(o.operands[0], o.password, read, err)) return rc;
  tool::Chosen chosen;
  if (int rc = tool::ChooseRecords(o, o.operands[0], read.records, chosen, err)) return rc;
  // The window's Export writes the same bytes for the same records.
  ExportRequest request;
  request.daysShown = chosen.title;
  ParseExportFormat(o.format, request.format);
  NameExportAfterFile(o.operands[0], request);
  request.exportedAt = o.clock ? o.clock() : LocalTimeText();
  request.newline = kNewline;
  request.toUtf8 = &SystemTextToUtf8;
  request.codePage = SystemCodePage();
  WriteExport(out, request, chosen.records);
  return kExitOk;
}

int Config(const Options& o, std::ostream& out, std::ostream& err) {
  const std::string& file = o.operands[0];
  std::string bytes;
  if (!ReadWholeFile(file, bytes)) {
    err << "krxtool: cannot read " << file << "\n";
    return kExitFile;
  }
  // The values are shown as the program reads them all the same: missing
  // ones at their defaults, extra bytes ignored.
  if (bytes.size() != kSettingsFileSize) {
    err << "krxtool: " << file << " is " << bytes.size() << " bytes, not " << kSettingsFileSize << "; ";
    if (bytes.size() < kSettingsFileSize) {
      err << "the values it lacks are the defaults the program would use\n";
    } else {
      err << "the program ignores the " << bytes.size() - kSettingsFileSize << " extra bytes\n";
    }
  }
  SettingsParse parse = ParseSettings(bytes);
  for (int i = 0; i < kSettingCount; ++i) {
    out << kSettingNames[i] << " = " << parse.values[i];
    if (i >= parse.valuesRead) out << " (not in the file; default)";
    out << kNewline;
  }
  return kExitOk;
}

int Dispatch(const Options& o, std::istream& in, std::ostream& out, std::ostream& err, ManagerRunningProbe probe) {
  if (o.command == "list") return List(o, out, err);
  if (o.command == "export") return Export(o, out, err);
  if (o.command == "import") return tool::Import(o, in, out, err, probe);
  if (o.command == "stats") return tool::Stats(o, out, err);
  if (o.command == "search") return tool::Search(o, out, err);
  if (o.command == "sites") return tool::Sites(o, out, err);
  return Config(o, out, err);
}

}  // namespace

int RunKrxTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err,
               ManagerRunningProbe managerRunning, ExportClock clock) {
  for (const std::string& a : args) {
    if (a == "--help" || a == "-h") {
      out << kUsage;
      out.flush();
      return out ? kExitOk : kExitFile;
    }
  }
  Options o;
  if (int rc = ParseOptions(args, o, err)) return rc;
  o.clock = clock;
  int rc = Dispatch(o, in, out, err, managerRunning);
  // A full disk or a closed pipe must not pass for a finished export.
  out.flush();
  if (!out) {
    err << "krxtool: writing to standard output failed\n";
    if (rc == kExitOk) rc = kExitFile;
  }
  return rc;
}

}  // namespace krx
