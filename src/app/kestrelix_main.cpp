// Kestrelix.exe's entry: the one application object and WinMain.
#include <windows.h>

#include "app/kestrelix_app.h"

namespace {
// Constructed before WinMain: the single-instance mutex exists from here on.
krx::CKestrelixApp theApp;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) { return krx::AfxWinMain(instance, show); }
