// Every help topic the program asks for opens a help window from the real
// help files (under Wine the window shows no page, so the window is what
// is checked).
#include <windows.h>

#include <gtest/gtest.h>

#include "config/html_help.h"
#include "core/config_mappings.h"
#include "records/folders.h"
#include "support/test_support.h"

namespace {

struct Found {
  std::string title;
  int count = 0;
};

BOOL CALLBACK FindHelpWindow(HWND hwnd, LPARAM param) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == GetCurrentProcessId() && strcmp(cls, "HH Parent") == 0 && IsWindowVisible(hwnd)) {
    Found* found = reinterpret_cast<Found*>(param);
    char title[256] = {};
    GetWindowTextA(hwnd, title, sizeof title);
    found->title = title;
    ++found->count;
  }
  return TRUE;
}

Found HelpWindows() {
  Found found;
  EnumWindows(FindHelpWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

TEST(HtmlHelp, EveryTopicOpensItsHelpWindowAndClosesAgain) {
  const std::vector<std::pair<std::string, std::string>> topics = {
      {"Kestrelix.chm::/visitlog.htm", "Kestrelix Help"},  {"Kestrelix.chm::/blocklog.htm", "Kestrelix Help"},
      {"Kestrelix.chm::/flashlog.htm", "Kestrelix Help"},  {"Kestrelix.chm::/whitelist.htm", "Kestrelix Help"},
      {"Kestrelix.chm::/forbidden.htm", "Kestrelix Help"}, {"Kestrelix.chm::/cache.htm", "Kestrelix Help"},
      {"Kestrelix.chm::/medialog.htm", "Kestrelix Help"},  {"Kestrelix.chm::/changepass.htm", "Kestrelix Help"},
      {krx::kConfigHelpTopic, "Kestrelix Help"},           {"qv.chm::/login.htm", "Kestrelix Password Help"},
  };
  for (const auto& topic : topics) {
    SCOPED_TRACE(topic.first);
    // The viewer opens its window even for a page the file lacks: look for
    // the page in the file's directory, where names are stored as they are.
    const size_t sep = topic.first.find("::");
    const std::string chm = krx_test::ReadFileBytes(krx::ProgramFolder() + topic.first.substr(0, sep));
    EXPECT_NE(chm.find(topic.first.substr(sep + 2)), std::string::npos);
    EXPECT_TRUE(krx::ShowHelpTopic(topic.first));
    Found found = HelpWindows();
    EXPECT_EQ(found.count, 1);
    EXPECT_EQ(found.title, topic.second);
    krx::CloseAllHelp();
    EXPECT_EQ(HelpWindows().count, 0);
  }
}

TEST(HtmlHelp, AMissingHelpFileOpensNothing) {
  EXPECT_FALSE(krx::ShowHelpTopic("Missing.chm::/index.htm"));
  EXPECT_EQ(HelpWindows().count, 0);
}
