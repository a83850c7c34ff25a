// wait_for_window TITLE [SECONDS [keep]]: waits for a top-level window with
// exactly this title, closes it (unless told to keep it) and prints "found";
// exits 1 when none came in time.
// wait_for_window --hold FILE STOPFILE: holds FILE open as a running manager
// holds its User folder's lock, until STOPFILE appears (two minutes at most).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  if (std::strcmp(argv[1], "--hold") == 0 && argc == 4) {
    HANDLE lock = CreateFileA(argv[2], GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (lock == INVALID_HANDLE_VALUE) return 1;
    for (int waited = 0; waited < 1200 && GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; ++waited) Sleep(100);
    CloseHandle(lock);
    return 0;
  }
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
