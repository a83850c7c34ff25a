// wait_for_window TITLE [SECONDS [keep]]: waits for a top-level window with
// exactly this title, closes it (unless told to keep it) and prints "found";
// exits 1 when none came in time.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const int seconds = argc > 2 ? std::atoi(argv[2]) : 30;
  const bool keep = argc > 3 && std::strcmp(argv[3], "keep") == 0;
  for (int waited = 0; waited < seconds * 10; ++waited) {
    if (HWND window = FindWindowA(nullptr, argv[1])) {
      std::printf("found\n");
      if (!keep) PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    }
    Sleep(100);
  }
  std::printf("no window titled \"%s\"\n", argv[1]);
  return 1;
}
