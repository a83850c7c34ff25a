#include <cerrno>
#include <iostream>
#include <stdexcept>
#include <streambuf>

#include "tools/krxtool/krxtool.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

// Standard input as raw bytes. A read error throws, which the reading
// stream turns into its badbit: import must not take a broken pipe or a bad
// disk for the end of its input.
class StdinBuffer : public std::streambuf {
 protected:
  int_type underflow() override {
    for (;;) {
#ifdef _WIN32
      int n = _read(0, buffer_, sizeof buffer_);
#else
      ssize_t n = ::read(0, buffer_, sizeof buffer_);
      if (n < 0 && errno == EINTR) continue;
#endif
      if (n < 0) throw std::runtime_error("standard input");
      if (n == 0) return traits_type::eof();
      setg(buffer_, buffer_, buffer_ + n);
      return traits_type::to_int_type(buffer_[0]);
    }
  }

 private:
  char buffer_[1 << 16];
};

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // Records are bytes: no newline translation on the way in or out.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  krx::ManagerRunningProbe probe = &krx::ManagerMutexExists;
#else
  krx::ManagerRunningProbe probe = nullptr;
#endif
  std::ios::sync_with_stdio(false);
  StdinBuffer stdinBuffer;
  std::istream in(&stdinBuffer);
  std::vector<std::string> args(argv + 1, argv + argc);
  return krx::RunKrxTool(args, in, std::cout, std::cerr, probe);
}
