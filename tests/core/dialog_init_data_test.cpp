// The initialisation data of a dialog template, as the resource compiler
// lays it out for the manager window's operator combo.
#include <gtest/gtest.h>

#include "core/dialog_init_data.h"

namespace {

std::string Entry(uint16_t id, uint16_t msg, const std::string& text) {
  std::string e;
  e += char(id & 0xFF);
  e += char(id >> 8);
  e += char(msg & 0xFF);
  e += char(msg >> 8);
  const uint32_t len = uint32_t(text.size());
  for (int i = 0; i < 4; ++i) e += char((len >> (8 * i)) & 0xFF);
  return e + text;
}

TEST(DialogInitData, ReadsEntriesUpToTheEndMarkerOrAShortEntry) {
  const std::string ops = Entry(1025, 0x403, std::string("=\0", 2)) + Entry(1025, 0x403, std::string(">=\0", 3)) +
                          Entry(1025, 0x403, std::string("!=\0", 3));
  const struct {
    const char* name;
    std::string bytes;
    std::vector<std::string> texts;
  } cases[] = {
      {"terminated", ops + std::string(2, '\0'), {"=", ">=", "!="}},
      {"bytes end without marker", ops, {"=", ">=", "!="}},
      {"after the marker nothing counts", Entry(1025, 0x403, std::string("<\0", 2)) + std::string(2, '\0') + ops, {"<"}},
      {"length past the end", Entry(1025, 0x403, "<").substr(0, 8), {}},
      {"a short entry keeps what came before", ops + Entry(1025, 0x403, "<=").substr(0, 9), {"=", ">=", "!="}},
      {"empty", "", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto entries = krx::ParseDialogInitData(c.bytes);
    ASSERT_EQ(entries.size(), c.texts.size());
    for (size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].text, c.texts[i]);
      EXPECT_EQ(entries[i].controlId, 1025);
      EXPECT_EQ(entries[i].message, krx::kInitComboAddString);
    }
  }
}

}  // namespace
