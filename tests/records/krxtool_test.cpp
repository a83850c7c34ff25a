// krxtool's commands on real files: what they print and which exit codes
// tell a script what went wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <streambuf>

#include "core/record_cipher.h"
#include "core/settings_file.h"
#include "records/record_store.h"
#include "support/test_support.h"
#include "records/file_io.h"
#include "tools/krxtool/krxtool.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

struct ToolRun {
  int code;
  std::string out, err;
};

ToolRun Tool(std::vector<std::string> args, const std::string& input = "", krx::ManagerRunningProbe probe = nullptr) {
  std::istringstream in(input);
  std::ostringstream out, err;
  int code = krx::RunKrxTool(args, in, out, err, probe, [] { return std::string("12/07/2026 21:30:00"); });
  return {code, out.str(), err.str()};
}

#ifdef _WIN32
const std::string NL = "\r\n";
#else
const std::string NL = "\n";
#endif

TEST(KrxTool, ListAndExportFormats) {
  krx_test::TempFolder dir;
  std::string file = dir / "visit.log";
  ASSERT_TRUE(krx::SaveRecordFile(file, krx::SealedCopy("pw"),
                                  {"<2026-12-07 08:00:00> http://a.example/?q=1,2 - \"A\" & <B>", "nospace"}));
  ToolRun list = Tool({"list", file, "--password", "pw"});
  EXPECT_EQ(list.code, 0);
  EXPECT_EQ(list.out, "<2026-12-07 08:00:00> http://a.example/?q=1,2 - \"A\" & <B>" + NL + "nospace" + NL);

  // The core's export, named after the file, in this system's line ends
  // (the format table is the core's).
  ToolRun text = Tool({"export", file, "--password", "pw", "--format", "text"});
  EXPECT_EQ(text.out.substr(0, text.out.find(NL + NL)), "Visit log" + NL + "2 records, exported 12/07/2026 21:30:00");
  EXPECT_NE(text.out.find(NL + "2026-12-07\t08:00:00\thttp://a.example/?q=1,2\t\"A\" & <B>" + NL), std::string::npos);

  ToolRun csv = Tool({"export", file, "--password", "pw", "--format", "csv"});
  EXPECT_EQ(csv.out, "Date,Time,Address,Detail\r\n2026-12-07,08:00:00,\"http://a.example/?q=1,2\",\"\"\"A\"\" & <B>\"\r\n"
                     ",,,nospace\r\n");

  ToolRun html = Tool({"export", file, "--password", "pw", "--format", "html"});
  EXPECT_NE(html.out.find("<td>&quot;A&quot; &amp; &lt;B&gt;</td>"), std::string::npos);

  EXPECT_EQ(Tool({"export", file, "--password", "pw", "--format", "xml"}).code, krx::kExitUsage);
  EXPECT_EQ(Tool({"list", file}).code, krx::kExitUsage);
}

TEST(KrxTool, WrongPasswordAndMissingFiles) {
  krx_test::TempFolder dir;
  std::string file = dir / "white.log";
  ASSERT_TRUE(krx::SaveRecordFile(file, krx::SealedCopy("pw"), {"http://a.example/"}));
  ToolRun wrong = Tool({"list", file, "--password", "PW"});
  EXPECT_EQ(wrong.code, krx::kExitWrongPassword);
  EXPECT_NE(wrong.err.find("another password"), std::string::npos);
  EXPECT_EQ(Tool({"import", file, "--password", "PW"}, "x\n").code, krx::kExitWrongPassword);
  EXPECT_EQ(krx_test::ReadFileBytes(file).size(), 1u + 8 + 2 + 1 + 17);  // untouched
  EXPECT_EQ(Tool({"list", dir / "none.log", "--password", ""}).code, krx::kExitFile);
}

TEST(KrxTool, ImportAppendsOnlyNewLines) {
  krx_test::TempFolder dir;
  std::string file = dir / "forbid.log";
  ToolRun first = Tool({"import", file, "--password", ""}, "http://a.example/\r\nhttp://b.example/\n\nhttp://a.example/\n");
  EXPECT_EQ(first.code, 0);
  ToolRun second = Tool({"import", file, "--password", ""}, "http://b.example/\r\nhttp://c.example/");
  EXPECT_EQ(second.code, 0);
  EXPECT_EQ(second.out, "added 1 of 3 records" + NL);
  EXPECT_EQ(Tool({"list", file, "--password", ""}).out,
            "http://a.example/" + NL + "http://b.example/" + NL + "http://c.example/" + NL);

  // A damaged file is not rewritten: its unread tail would be lost.
  std::string bytes = krx_test::ReadFileBytes(file);
  krx_test::WriteFileBytes(file, bytes.substr(0, bytes.size() - 3));
  EXPECT_EQ(Tool({"import", file, "--password", ""}, "http://d.example/\n").code, krx::kExitFile);
  EXPECT_EQ(krx_test::ReadFileBytes(file), bytes.substr(0, bytes.size() - 3));
  // list still gives the records read whole, to be imported back.
  ToolRun salvage = Tool({"list", file, "--password", ""});
  EXPECT_EQ(salvage.code, krx::kExitFile);
  EXPECT_EQ(salvage.out, "http://a.example/" + NL + "http://b.example/" + NL);

  EXPECT_EQ(Tool({"import", file, "--password", ""}, "x\n", [] { return true; }).code, krx::kExitManagerRunning);
}

TEST(KrxTool, ConfigPrintsEverySettingByName) {
  krx_test::TempFolder dir;
  krx::SettingValues v = krx::kDefaultSettings;
  v[krx::kThemeIndex] = 3;
  krx_test::WriteFileBytes(dir / "KRX.cfg", krx::SerializeSettings(v).substr(0, 44));
  ToolRun config = Tool({"config", dir / "KRX.cfg"});
  EXPECT_EQ(config.code, 0);
  EXPECT_NE(config.out.find("PopupBlocking = 1" + NL), std::string::npos);
  EXPECT_NE(config.out.find("ThemeIndex = 3" + NL), std::string::npos);
  EXPECT_NE(config.out.find("LastView = 179 (not in the file; default)" + NL), std::string::npos);
  size_t lines = 0;
  for (char c : config.out) lines += c == '\n';
  EXPECT_EQ(lines, 25u);
}

// A stream buffer that fails: writes after `room` bytes (a full disk), or
// reads after handing out `text` (a broken pipe, a bad disk).
class FailingBuffer : public std::streambuf {
 public:
  FailingBuffer(std::string text, size_t room) : text_(std::move(text)), room_(room) {
    setg(&text_[0], &text_[0], &text_[0] + text_.size());
  }

 protected:
  int_type overflow(int_type c) override {
    if (room_ == 0) return traits_type::eof();
    --room_;
    return traits_type::not_eof(c);
  }
  int_type underflow() override { throw std::runtime_error("read error"); }

 private:
  std::string text_;
  size_t room_;
};

std::string SampleLog(const krx_test::TempFolder& dir, const std::string& name = "visit.log") {
  std::string file = dir / name;
  EXPECT_TRUE(krx::SaveRecordFile(file, krx::SealedCopy("pw"),
                                  {"<2026-12-07 08:00:00> http://WWW.A.example/x - caf\xE9",
                                   "<2026-12-07 09:00:00> https://b.example:8080/ - B",
                                   "<2026-12-08 10:00:00> http://www.a.example/y?q - www.A.EXAMPLE"}));
  return file;
}

TEST(KrxTool, FailedWriteToStandardOutputIsReported) {
  krx_test::TempFolder dir;
  std::string file = SampleLog(dir);
  krx_test::WriteFileBytes(dir / "KRX.cfg", krx::SerializeSettings(krx::kDefaultSettings));
  const std::vector<std::vector<std::string>> commands = {
      {"list", file, "--password", "pw"},
      {"export", file, "--password", "pw", "--format", "html"},
      {"config", dir / "KRX.cfg"},
      {"stats", file, "--password", "pw"},
      {"search", "a.example", file, "--password", "pw"},
      {"--help"},
  };
  for (size_t room : {size_t(0), size_t(40)}) {
    for (const auto& args : commands) {
      FailingBuffer full("", room);
      std::ostream out(&full);
      std::istringstream in;
      std::ostringstream err;
      EXPECT_EQ(krx::RunKrxTool(args, in, out, err, nullptr), krx::kExitFile) << args[0] << " room " << room;
    }
  }
}

TEST(KrxTool, ReadErrorOnStandardInputLeavesTheFileAlone) {
  krx_test::TempFolder dir;
  std::string file = SampleLog(dir);
  const std::string before = krx_test::ReadFileBytes(file);
  for (const std::string& target : {file, dir / "new.log"}) {
    FailingBuffer broken("http://c.example/\nhttp://d.example/\n", 0);
    std::istream in(&broken);
    std::ostringstream out, err;
    EXPECT_EQ(krx::RunKrxTool({"import", target, "--password", "pw"}, in, out, err, nullptr), krx::kExitFile);
    EXPECT_NE(err.str().find("was left as it was"), std::string::npos);
  }
  EXPECT_EQ(krx_test::ReadFileBytes(file), before);
  EXPECT_FALSE(krx::FileExists(dir / "new.log"));
}

TEST(KrxTool, CommandLineMistakesAreNamed) {
  krx_test::TempFolder dir;
  std::string file = SampleLog(dir);
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string errHas;
  } cases[] = {
      {{"foo", file}, krx::kExitUsage, "unknown command foo"},
      {{"foo", file, "--password", "pw"}, krx::kExitUsage, "unknown command foo"},
      {{"config", file, "--password", "pw"}, krx::kExitUsage, "--password does not apply to config"},
      {{"list", file, "--password", "pw", "--format", "csv"}, krx::kExitUsage, "--format does not apply to list"},
      {{"import", file, "--password", "pw", "--format", "csv"}, krx::kExitUsage, "--format does not apply to import"},
      {{"stats", file, "--password", "pw", "--format", "xml"}, krx::kExitUsage, "unknown format xml"},
      {{"export", file, "--password", "pw", "--match-case"}, krx::kExitUsage, "--match-case does not apply"},
      {{"list", file, "--password", "pw", "--verbose"}, krx::kExitUsage, "unknown option --verbose"},
      {{"list", file, file, "--password", "pw"}, krx::kExitUsage, "list takes one file"},
      {{"search", "x", "--password", "pw"}, krx::kExitUsage, "needs a pattern"},
      {{"list", file}, krx::kExitUsage, "needs --password"},
      {{}, krx::kExitUsage, "usage:"},
  };
  for (const Case& c : cases) {
    ToolRun run = Tool(c.args);
    EXPECT_EQ(run.code, c.code) << c.errHas;
    EXPECT_NE(run.err.find(c.errHas), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
  }
  for (const std::vector<std::string>& help :
       std::vector<std::vector<std::string>>{{"--help"}, {"-h"}, {"export", "-h"}, {"foo", "--help"}}) {
    ToolRun run = Tool(help);
    EXPECT_EQ(run.code, krx::kExitOk);
    EXPECT_EQ(run.out.rfind("usage: krxtool", 0), 0u);
    EXPECT_EQ(run.err, "");
  }
}

TEST(KrxTool, ImportRefusesPasswordsTheManagerWouldNotAccept) {
  krx_test::TempFolder dir;
  const std::string file = dir / "white.log";
  const std::string longest(32, 'p');
  ToolRun tooLong = Tool({"import", file, "--password", longest + "p"}, "http://a.example/\n");
  EXPECT_EQ(tooLong.code, krx::kExitUsage);
  EXPECT_NE(tooLong.err.find("at most 32"), std::string::npos);
  EXPECT_FALSE(krx::FileExists(file));
  EXPECT_EQ(Tool({"import", file, "--password", longest}, "http://a.example/\n").code, krx::kExitOk);

  // With a user.sav beside the file, only its password makes a loadable file.
  krx_test::TempFolder user;
  krx_test::WriteFileBytes(user / "user.sav", krx::SealedCopy("right"));
  ToolRun other = Tool({"import", user / "white.log", "--password", "wrong"}, "http://a.example/\n");
  EXPECT_EQ(other.code, krx::kExitWrongPassword);
  EXPECT_NE(other.err.find("user.sav"), std::string::npos);
  EXPECT_FALSE(krx::FileExists(user / "white.log"));
  EXPECT_EQ(Tool({"import", user / "white.log", "--password", "right"}, "http://a.example/\n").code, krx::kExitOk);
  EXPECT_EQ(Tool({"list", user / "white.log", "--password", "right"}).out, "http://a.example/" + NL);
}

TEST(KrxTool, ConfigOfAnotherSizeIsNamedOnStandardError) {
  krx_test::TempFolder dir;
  const std::string whole = krx::SerializeSettings(krx::kDefaultSettings);
  struct Case {
    std::string bytes, errHas;
  } cases[] = {{whole, ""}, {whole.substr(0, 44), "is 44 bytes, not 100"}, {whole + "xyz", "is 103 bytes, not 100"}};
  for (const Case& c : cases) {
    krx_test::WriteFileBytes(dir / "KRX.cfg", c.bytes);
    ToolRun run = Tool({"config", dir / "KRX.cfg"});
    EXPECT_EQ(run.code, krx::kExitOk);
    if (c.errHas.empty()) {
      EXPECT_EQ(run.err, "");
    } else {
      EXPECT_NE(run.err.find(c.errHas), std::string::npos) << run.err;
    }
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 25);
  }
}

TEST(KrxTool, HtmlDeclaresTheEncodingItWrites) {
  krx_test::TempFolder dir;
  ToolRun html = Tool({"export", SampleLog(dir), "--password", "pw", "--format", "html"});
  EXPECT_NE(html.out.find("<meta charset=\"utf-8\">"), std::string::npos);
#ifdef _WIN32
  if (GetACP() != 1252) GTEST_SKIP() << "the sample record is windows-1252 text";
#endif
  EXPECT_NE(html.out.find("caf\xC3\xA9</td>"), std::string::npos);
}

TEST(KrxTool, StatsCountsDaysAndHosts) {
  krx_test::TempFolder dir;
  std::string file = SampleLog(dir);
  ToolRun text = Tool({"stats", file, "--password", "pw"});
  EXPECT_EQ(text.code, 0);
  EXPECT_EQ(text.out, "day\trecords" + NL + "2026-12-07\t2" + NL + "2026-12-08\t1" + NL + "total\t3" + NL +
                          "busiest\t2026-12-07\t2" + NL + NL + "host\trecords" + NL +
                          "www.a.example\t2" + NL + "b.example\t1" + NL);
  EXPECT_EQ(Tool({"stats", file, "--password", "pw", "--format", "csv"}).out,
            "kind,key,records\r\nday,2026-12-07,2\r\nday,2026-12-08,1\r\ntotal,,3\r\nbusiest,2026-12-07,2\r\nhost,www.a.example,2\r\nhost,b.example,1\r\n");

  // Only the 10 busiest hosts, the busiest first, ties by name.
  krx::StringArray many;
  for (int h = 0; h < 30; ++h) {
    for (int n = 0; n <= h % 25; ++n) many.push_back("<d " + std::to_string(n) + "> http://h" + std::to_string(h) + "/ - x");
  }
  ASSERT_TRUE(krx::SaveRecordFile(dir / "many.log", krx::SealedCopy(""), many));
  std::string csv = Tool({"stats", dir / "many.log", "--password", "", "--format", "csv"}).out;
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 1 + 1 + 2 + 10);
  EXPECT_NE(csv.find("host,h24,25\r\nhost,h23,24\r\nhost,h22,23\r\nhost,h21,22\r\n"), std::string::npos);
  EXPECT_EQ(csv.find("host,h0,"), std::string::npos);
}

TEST(KrxTool, SearchFollowsTheFindCaseRule) {
  krx_test::TempFolder dir;
  std::string visit = SampleLog(dir), white = dir / "white.log";
  ASSERT_TRUE(krx::SaveRecordFile(white, krx::SealedCopy("pw"), {"http://www.a.example/", "http://c.example/"}));
  ToolRun any = Tool({"search", "A.EXAMPLE", visit, white, "--password", "pw"});
  EXPECT_EQ(any.code, 0);
  EXPECT_EQ(any.out, visit + "\t2026-12-07\thttp://WWW.A.example/x\t<2026-12-07 08:00:00> http://WWW.A.example/x - caf\xE9" +
                         NL + visit + "\t2026-12-08\thttp://www.a.example/y?q\t<2026-12-08 10:00:00> http://www.a.example/y?q - www.A.EXAMPLE" +
                         NL + white + "\t\t\thttp://www.a.example/" + NL);
  struct Case {
    std::vector<std::string> extra;
    bool cfgMatchCase;
    size_t rows;
  } cases[] = {{{}, false, 3}, {{}, true, 1}, {{"--ignore-case"}, true, 3}, {{"--match-case"}, false, 1}};
  for (const Case& c : cases) {
    krx::SettingValues v = krx::kDefaultSettings;
    v[krx::kCaseSensitiveFind] = c.cfgMatchCase ? 1 : 0;
    krx_test::WriteFileBytes(dir / "KRX.cfg", krx::SerializeSettings(v));
    std::vector<std::string> args = {"search", "A.EXAMPLE", visit, white, "--password", "pw", "--format", "csv"};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    std::string csv = Tool(args).out;
    EXPECT_EQ(size_t(std::count(csv.begin(), csv.end(), '\n')), 1 + c.rows) << csv;
  }
  // A log that cannot be read is named; the others are still searched.
  ToolRun partly = Tool({"search", "c.example", dir / "none.log", white, "--password", "pw"});
  EXPECT_EQ(partly.code, krx::kExitFile);
  EXPECT_EQ(partly.out, white + "\t\t\thttp://c.example/" + NL);
}

// --days, --last and --filter choose what export, stats and sites act on;
// sites writes the grouped rows as the window's grouped Export does.
TEST(KrxTool, ChosenDaysFilterAndSites) {
  krx_test::TempFolder dir;
  const std::string file = dir / "visit.log";
  ASSERT_TRUE(krx::SaveRecordFile(file, krx::SealedCopy("pw"),
                                  {"<12/30/2025 08:00:00> http://Old.example/ - Old", "<12/31/2025 08:00:00> http://old.example:81/ - x",
                                   "<01/01/2026 09:00:00> http://new.example/ - New Year", "<01/01/2026 09:30:00> http://old.example/ - y",
                                   "<01/02/2026 10:00:00> http://u@new.example/ - z"}));
  struct Row {
    std::vector<std::string> args;
    std::string out;  // CSV, whole
  } rows[] = {
      {{"export", "--days", "12/31/2025..2026-01-01"},
       "Date,Time,Address,Detail\r\n12/31/2025,08:00:00,http://old.example:81/,x\r\n01/01/2026,09:00:00,"
       "http://new.example/,New Year\r\n01/01/2026,09:30:00,http://old.example/,y\r\n"},
      {{"export", "--last", "2", "--filter", "NEW"},
       "Date,Time,Address,Detail\r\n01/01/2026,09:00:00,http://new.example/,New Year\r\n01/02/2026,10:00:00,"
       "http://u@new.example/,z\r\n"},
      {{"export", "--days", "02/01/2026.."}, "Date,Time,Address,Detail\r\n"},
      {{"sites"}, "Site,Records,First day,New\r\nold.example,3,12/30/2025,new\r\nnew.example,2,01/01/2026,new\r\n"},
      {{"sites", "--days", "01/01/2026..01/02/2026"},
       "Site,Records,First day,New\r\nnew.example,2,01/01/2026,new\r\nold.example,1,12/30/2025,\r\n"},
      {{"sites", "--last", "3", "--new"}, "Site,Records,First day,New\r\nnew.example,2,01/01/2026,new\r\n"},
      {{"stats", "--days", "..12/31/2025"},
       "kind,key,records\r\nday,12/30/2025,1\r\nday,12/31/2025,1\r\ntotal,,2\r\nbusiest,12/30/2025,1\r\n"
       "host,old.example,2\r\nnew site,old.example,12/30/2025\r\n"},
  };
  for (const Row& r : rows) {
    std::vector<std::string> args = {r.args[0], file, "--password", "pw", "--format", "csv"};
    args.insert(args.end(), r.args.begin() + 1, r.args.end());
    const ToolRun run = Tool(args);
    EXPECT_EQ(run.code, 0) << r.args[0] << " " << run.err;
    EXPECT_EQ(run.out, r.out) << r.args[0] << " " << (r.args.size() > 1 ? r.args[1] : "");
  }
  // The filter's case is Find's: KRX.cfg beside the log can make it exact.
  krx::SettingValues v = krx::kDefaultSettings;
  v[krx::kCaseSensitiveFind] = 1;
  krx_test::WriteFileBytes(dir / "KRX.cfg", krx::SerializeSettings(v));
  EXPECT_EQ(Tool({"export", file, "--password", "pw", "--format", "csv", "--filter", "New"}).out,
            "Date,Time,Address,Detail\r\n01/01/2026,09:00:00,http://new.example/,New Year\r\n");
  // Text names the days in its heading.
  EXPECT_EQ(Tool({"sites", file, "--password", "pw", "--days", "01/02/2026"}).out,
            "Visit log: sites, 01/02/2026" + NL + "1 site, 0 new" + NL + NL + "Site\tRecords\tFirst day\tNew" + NL +
                "new.example\t1\t01/01/2026\t" + NL);
  const std::string text = Tool({"export", file, "--password", "pw", "--format", "text", "--last", "2"}).out;
  EXPECT_EQ(text.substr(0, text.find(" records")), "Visit log, 01/01/2026 to 01/02/2026" + NL + "3");
  const struct {
    std::vector<std::string> args;
    const char* says;
  } wrong[] = {
      {{"export", file, "--password", "pw", "--days", "02/30/2026"}, "is no date"},
      {{"export", file, "--password", "pw", "--days", "01/02/2026..01/01/2026"}, "ends before it starts"},
      {{"stats", file, "--password", "pw", "--last", "0"}, "--last needs"},
      {{"sites", file, "--password", "pw", "--last", "2", "--days", "01/01/2026"}, "do not go together"},
      {{"list", file, "--password", "pw", "--filter", "x"}, "--filter does not apply"},
      {{"export", file, "--password", "pw", "--new"}, "--new does not apply"},
  };
  for (const auto& w : wrong) {
    const ToolRun run = Tool(w.args);
    EXPECT_EQ(run.code, krx::kExitUsage) << w.says;
    EXPECT_NE(run.err.find(w.says), std::string::npos) << run.err;
  }
}

}  // namespace

#ifdef _WIN32
#include <windows.h>

namespace {

TEST(KrxTool, RefusesToWriteWhileTheManagerRuns) {
  krx_test::TempFolder dir;
  EXPECT_FALSE(krx::ManagerMutexExists());
  HANDLE mutex = CreateMutexA(nullptr, FALSE, "Kestrelix");
  ASSERT_NE(mutex, nullptr);
  EXPECT_TRUE(krx::ManagerMutexExists());
  ToolRun run = Tool({"import", dir / "white.log", "--password", ""}, "http://a.example/\n", &krx::ManagerMutexExists);
  EXPECT_EQ(run.code, krx::kExitManagerRunning);
  EXPECT_FALSE(krx::FileExists(dir / "white.log"));
  CloseHandle(mutex);
  EXPECT_EQ(Tool({"import", dir / "white.log", "--password", ""}, "http://a.example/\n", &krx::ManagerMutexExists).code, 0);
}

}  // namespace
#endif
