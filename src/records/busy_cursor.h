#pragma once
// The wait cursor while files are read, as the user expects of a busy
// window; nothing where there is no cursor (the native build).
namespace krx {

class BusyCursor {
 public:
  BusyCursor();
  ~BusyCursor();
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  [[maybe_unused]] void* previous_ = nullptr;
};

}  // namespace krx
