#pragma once
// How many users share one thing that the first of them starts (the add-on's
// list reader): a use is counted only once its start has returned, so a
// start that throws leaves the count as it was and the next user starts
// again.
namespace krx {

class SharedUses {
 public:
  // Counts one more use; start runs for the first use, or when the thing
  // is not running (its earlier start failed quietly).
  template <class Start>
  void Join(bool running, Start&& start) {
    if (uses_ == 0 || !running) start();
    ++uses_;
  }
  // Takes one use back; true when it was the last.
  bool Leave() { return --uses_ <= 0; }
  int count() const { return uses_; }

 private:
  int uses_ = 0;
};

}  // namespace krx
