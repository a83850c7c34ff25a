// krxtool's commands on real files: what they print and which exit codes
// tell a script what went wrong.
#include <gtest/gtest.h>

#include <sstream>

#include "core/record_cipher.h"
#include "core/settings_file.h"
#include "records/record_store.h"
#include "support/test_support.h"
#include "records/file_io.h"
#include "tools/krxtool/krxtool.h"

namespace {

struct ToolRun {
  int code;
  std::string out, err;
};

ToolRun Tool(std::vector<std::string> args, const std::string& input = "", krx::ManagerRunningProbe probe = nullptr) {
  std::istringstream in(input);
  std::ostringstream out, err;
  int code = krx::RunKrxTool(args, in, out, err, probe);
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

  ToolRun text = Tool({"export", file, "--password", "pw", "--format", "text"});
  EXPECT_EQ(text.out.substr(0, text.out.find('\t', 11)), "2026-12-07\thttp://a.example/?q=1,2");

  ToolRun csv = Tool({"export", file, "--password", "pw", "--format", "csv"});
  EXPECT_EQ(csv.out,
            "date,address,record\r\n"
            "2026-12-07,\"http://a.example/?q=1,2\",\"<2026-12-07 08:00:00> http://a.example/?q=1,2 - \"\"A\"\" & <B>\"\r\n"
            ",,nospace\r\n");

  ToolRun html = Tool({"export", file, "--password", "pw", "--format", "html"});
  EXPECT_NE(html.out.find("<td>&lt;2026-12-07 08:00:00&gt; http://a.example/?q=1,2 - &quot;A&quot; &amp; &lt;B&gt;</td>"),
            std::string::npos);

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
