#include "core/dialog_init_data.h"

namespace krx {

namespace {
uint32_t ReadLE(const std::string& bytes, size_t at, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | uint8_t(bytes[at + size_t(i)]);
  return value;
}
}  // namespace

std::vector<DialogInitEntry> ParseDialogInitData(const std::string& bytes) {
  std::vector<DialogInitEntry> entries;
  size_t at = 0;
  // Each entry: control id (16 bits), message (16 bits), length (32 bits),
  // then the bytes; no padding between entries.
  while (at + 2 <= bytes.size()) {
    const uint16_t id = uint16_t(ReadLE(bytes, at, 2));
    if (id == 0 || at + 8 > bytes.size()) break;
    const uint16_t message = uint16_t(ReadLE(bytes, at + 2, 2));
    const uint32_t length = ReadLE(bytes, at + 4, 4);
    at += 8;
    if (length > bytes.size() - at) break;
    std::string text = bytes.substr(at, length);
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    entries.push_back({id, message, std::move(text)});
    at += length;
  }
  return entries;
}

}  // namespace krx
