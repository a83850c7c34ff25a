// What the end of a Windows session kept in the error log, and what the
// next start takes from it: the kept lines after the last "shown" line.
#include <gtest/gtest.h>

#include <string>

#include "core/kept_notices.h"

namespace {

std::string Log(const std::string& notice) {
  std::string log;
  for (const std::string& line : krx::KeptNoticeLogLines(notice)) log += line + "\r\n";
  return log;
}

TEST(KeptNotices, TheNextStartTakesWhatCameAfterTheLastShownLine) {
  const std::string shown = std::string(krx::kKeptNoticesShown) + "\r\n";
  const std::string other = "Can not open registry\\Software\\X.\r\n";
  const struct {
    const char* name;
    std::string log, kept;
  } rows[] = {
      {"no log", "", ""},
      {"other failures only", other + other, ""},
      {"a notice of two lines among other lines", other + Log("These files:\nvisit.log") + other,
       "These files:\nvisit.log"},
      {"two notices of one session", Log("one") + Log("two"), "one\ntwo"},
      {"shown once", Log("one") + shown, ""},
      {"shown, then a new one", Log("one") + shown + other + Log("two"), "two"},
      {"lines ending in LF alone, the last without one", "x\n" + std::string(krx::kKeptNoticePrefix) + "three",
       "three"},
      {"a tail that cuts the first line", Log("one").substr(5) + Log("two"), "two"},
      {"the prefix inside a line is no kept line", "x " + Log("one"), ""},
  };
  for (const auto& row : rows) EXPECT_EQ(krx::KeptNoticesOf(row.log), row.kept) << row.name;
}

}  // namespace
