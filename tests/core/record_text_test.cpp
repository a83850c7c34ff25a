// Date keys, addresses, folder walks and the settings file's bytes.
#include <gtest/gtest.h>

#include "core/folder_path.h"
#include "core/record_text.h"
#include "core/settings_file.h"
#include "support/test_support.h"

using krx_test::Bytes;
using krx_test::Hex;

namespace {

TEST(RecordText, DateKeys) {
  EXPECT_EQ(krx::DateKey("<2026-12-07 10:00:01> http://a.example/ - Title"), "2026-12-07");
  EXPECT_EQ(krx::DateKey("<<2026-12-07 x"), "2026-12-07");
  EXPECT_EQ(krx::DateKey("nospace"), "");
  EXPECT_EQ(krx::DateKey("<< x"), "");
  EXPECT_EQ(krx::DateKey(" leading"), "");
  // Only a real date is a key of its own; anything else goes under the empty key.
  const struct {
    const char* stamp;
    const char* key;
  } dates[] = {{"<12/31/2026 x", "12/31/2026"}, {"<02/29/2024 x", "02/29/2024"}, {"<02/29/2000 x", "02/29/2000"},
               {"<02/29/2026 x", ""},           {"<02/29/1900 x", ""},           {"<13/45/2026 x", ""},
               {"<00/10/2026 x", ""},           {"<04/31/2026 x", ""},           {"<12/00/2026 x", ""},
               {"<1/2/2026 x", ""},             {"<12/07/26 x", ""},             {"<12/07/00000 x", ""},
               {"<12/07/0000 x", ""},           {"<2026-02-28 x", "2026-02-28"}, {"<2026-02-30 x", ""},
               {"<12-07-2026 x", ""},           {"<\x01\x02 x", ""},             {"no date", ""}};
  for (const auto& d : dates) {
    EXPECT_EQ(krx::DateKey(d.stamp), d.key) << d.stamp;
    EXPECT_EQ(krx::StampDateView(d.stamp).empty(), std::string(d.stamp).find(' ') == std::string::npos) << d.stamp;
  }
  EXPECT_EQ(krx::DateKeyOrder("02/29/2024"), 20240229);
  EXPECT_EQ(krx::DateKeyOrder("02/30/2024"), -1);
}

TEST(RecordText, Addresses) {
  EXPECT_EQ(krx::RecordAddress("<2026-12-07 10:00:01> http://a.example/x - Title - more"), "http://a.example/x");
  EXPECT_EQ(krx::RecordAddress("<2026-12-07 10:00:01> http://a.example/x"), "http://a.example/x");
  EXPECT_EQ(krx::RecordAddress("no bracket - here"), "");
  EXPECT_EQ(krx::RecordAddress("ends with >"), "");
}

TEST(FolderPath, StepsOutermostFirst) {
  EXPECT_EQ(krx::FolderPathSteps("C:\\Program Files\\Kestrelix\\User\\"),
            (std::vector<std::string>{"C:\\", "C:\\Program Files\\", "C:\\Program Files\\Kestrelix\\",
                                      "C:\\Program Files\\Kestrelix\\User\\"}));
  EXPECT_EQ(krx::FolderPathSteps("C:\\a\\b"), (std::vector<std::string>{"C:\\", "C:\\a\\", "C:\\a\\b\\"}));
  // A network path starts below its share: neither "\\" nor the server nor
  // the share itself is a folder that can be made.
  EXPECT_EQ(krx::FolderPathSteps("\\\\srv\\share\\x\\User\\"),
            (std::vector<std::string>{"\\\\srv\\share\\x\\", "\\\\srv\\share\\x\\User\\"}));
  EXPECT_EQ(krx::FolderPathSteps("\\\\srv\\share\\x"), (std::vector<std::string>{"\\\\srv\\share\\x\\"}));
  EXPECT_TRUE(krx::FolderPathSteps("\\\\srv\\share\\").empty());
  EXPECT_TRUE(krx::FolderPathSteps("\\\\srv\\share").empty());
  EXPECT_TRUE(krx::FolderPathSteps("\\\\srv").empty());
  EXPECT_TRUE(krx::FolderPathSteps("").empty());
  EXPECT_EQ(krx::FolderOf("Z:\\app\\Kestrelix.exe"), "Z:\\app\\");
}

TEST(SettingsFile, DefaultsAreTheDocumentedHundredBytes) {
  const int expected[] = {1, 1, 1, 1, 120, 120, 17, 1, 1, 1, 1, 0, 0, 0, 620, 420, 1, 179, 1, 1, 1, 1, 1, 0, 1};
  std::string want;
  for (int v : expected) want += std::string{char(v & 0xFF), char(v >> 8 & 0xFF), 0, 0};
  std::string bytes = krx::SerializeSettings(krx::kDefaultSettings);
  ASSERT_EQ(bytes.size(), 100u);
  EXPECT_EQ(Hex(bytes), Hex(want));
}

TEST(SettingsFile, ShortAndLongFiles) {
  krx::SettingValues custom = krx::kDefaultSettings;
  custom[krx::kPopupBlocking] = 0;
  custom[krx::kBlockLog] = -7;  // out of range values are kept, never validated
  std::string ten = krx::SerializeSettings(custom).substr(0, 10);
  krx::SettingsParse p = krx::ParseSettings(ten);
  EXPECT_EQ(p.valuesRead, 2);
  EXPECT_EQ(p.values[krx::kPopupBlocking], 0);
  EXPECT_EQ(p.values[krx::kBlockLog], -7);
  EXPECT_EQ(p.values[krx::kVisitLog], 1);
  EXPECT_EQ(krx::SerializeSettings(p.values).size(), 100u);

  std::string longer = krx::SerializeSettings(custom) + Bytes("01 02 03 04");
  p = krx::ParseSettings(longer);
  EXPECT_EQ(p.valuesRead, 25);
  EXPECT_EQ(krx::SerializeSettings(p.values), longer.substr(0, 100));
}

}  // namespace
