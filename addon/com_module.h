#pragma once
// What the whole library shares: its own module handle and folder, and the
// counts that tell COM whether it may unload the library.
#include <windows.h>

#include <string>

namespace krx_addon {

HMODULE Module();
// The folder of Kestrelix.dll itself, ending in a backslash: the program
// folder, whatever process loaded the library. Empty if it cannot be told.
std::string ProgramFolder();

// Living objects and IClassFactory::LockServer locks; DllCanUnloadNow
// answers S_OK only when both are zero.
void ObjectCreated();
void ObjectDestroyed();
void LockModule(bool lock);

}  // namespace krx_addon
