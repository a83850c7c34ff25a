#include "config/html_help.h"

#include <windows.h>

#include "records/folders.h"

namespace krx {
namespace {

// From htmlhelp.h, which mingw does not always ship.
constexpr UINT kHhDisplayTopic = 0x0000;
constexpr UINT kHhCloseAll = 0x0012;

typedef HWND(WINAPI* HtmlHelpProc)(HWND, LPCSTR, UINT, DWORD_PTR);

// The viewer stays loaded for the rest of the run: its windows live in this
// process and would lose their code if it were unloaded while one is open.
HtmlHelpProc Viewer() {
  static HtmlHelpProc proc = [] {
    HMODULE module = LoadLibraryA("hhctrl.ocx");
    if (!module) return HtmlHelpProc(nullptr);
    return reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void*>(GetProcAddress(module, "HtmlHelpA")));
  }();
  return proc;
}

}  // namespace

bool ShowHelpPath(const std::string& pathAndTopic) {
  HtmlHelpProc viewer = Viewer();
  if (!viewer) return false;
  return viewer(nullptr, pathAndTopic.c_str(), kHhDisplayTopic, 0) != nullptr;
}

bool ShowHelpTopic(const std::string& chmAndTopic) { return ShowHelpPath(ProgramFolder() + chmAndTopic); }

void CloseAllHelp() {
  // Nothing to close if the viewer was never needed: do not load it now.
  if (!GetModuleHandleA("hhctrl.ocx")) return;
  if (HtmlHelpProc viewer = Viewer()) viewer(nullptr, nullptr, kHhCloseAll, 0);
}

}  // namespace krx
