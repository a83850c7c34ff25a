#pragma once
// A dialog template's initialisation data (resource type 240, as dialog
// editors write it): strings that go into list and combo boxes when the
// dialog opens. The system's dialog manager ignores this resource; the
// window that owns the template sends the strings itself.
#include <cstdint>
#include <string>
#include <vector>

namespace krx {

// The 16-bit messages the data names: add a string to a list box or a combo box.
constexpr uint16_t kInitListAddString = 0x0401;
constexpr uint16_t kInitComboAddString = 0x0403;

struct DialogInitEntry {
  uint16_t controlId;
  uint16_t message;
  std::string text;  // without its terminating NUL
};

// Entries up to the terminating zero id. An entry that runs past the end of
// the bytes ends the list there: what came before it is kept.
std::vector<DialogInitEntry> ParseDialogInitData(const std::string& bytes);

}  // namespace krx
