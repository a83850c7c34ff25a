#pragma once
// Which folder gets the add-on's next day line. tmp\ of the program folder
// first; a tab that tmp\ refuses (protected mode where setup could not
// label the folder) writes to the user's low folder instead, and does not
// ask tmp\ again on every line: the refusal is believed for a while, then
// tmp\ is tried once more (the label may have been set meanwhile).
#include <cstdint>

namespace krx {

class DayFolderChoice {
 public:
  // How long a refusal of tmp\ is believed.
  static constexpr uint32_t kBelievedMs = 10000;

  // True when the next line should try tmp\ first, at nowMs on a
  // millisecond tick count that wraps at 2^32.
  bool TryTmp(uint32_t nowMs) const { return !refused_ || nowMs - refusedAt_ >= kBelievedMs; }

  // tmp\ refused a line at nowMs (no folder, or one that takes no file).
  void Refused(uint32_t nowMs) {
    refused_ = true;
    refusedAt_ = nowMs;
  }
  // tmp\ took a line.
  void Took() { refused_ = false; }

 private:
  bool refused_ = false;
  uint32_t refusedAt_ = 0;
};

}  // namespace krx
