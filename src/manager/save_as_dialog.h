#pragma once
// The common Save As dialog as the manager shows it: centred over its
// owner, in the folder the user last saved into during this run (the
// Documents folder the first time), with a proposed file name.
#include <windows.h>

#include <string>

namespace krx {

struct SaveAsRequest {
  const char* filter;            // the dialog's "Files of type" list, pairs ending in "\0\0"
  DWORD filterIndex = 1;         // in: the type proposed; out: the one chosen (from 1)
  const char* defaultExtension;  // added to a name typed without one
  std::string proposedName;      // the file name in the name box
  // When set, the type chosen decides the name's ending: the name box
  // follows each change of type, and the path given back carries the
  // type's ending whatever was typed (the overwrite question asks about
  // that file). Takes a name or a path and the type's index (from 1).
  std::string (*nameForType)(const std::string& name, DWORD filterIndex) = nullptr;
};

// Shows the dialog; true with the chosen path after OK, false after Cancel.
bool ShowSaveAs(HWND owner, SaveAsRequest& request, std::string& path);

}  // namespace krx
