#include <iostream>

#include "tools/krxtool/krxtool.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Records are bytes: no newline translation on the way in or out.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);
  krx::ManagerRunningProbe probe = &krx::ManagerMutexExists;
#else
  krx::ManagerRunningProbe probe = nullptr;
#endif
  std::vector<std::string> args(argv + 1, argv + argc);
  return krx::RunKrxTool(args, std::cin, std::cout, std::cerr, probe);
}
