#pragma once
// The program's folders and the creation of missing ones (Windows only).
#include <string>

typedef struct HWND__* HWND;

namespace krx {

extern const char kProductName[];

// The running executable's folder, ending in a backslash.
std::string ProgramFolder();
inline std::string UserFolder() { return ProgramFolder() + "User\\"; }
inline std::string TmpFolder() { return ProgramFolder() + "tmp\\"; }

// Creates every missing folder of path. On a failure shows the folder's path
// followed by " directory create error." in a plain message box owned by
// owner and returns false.
bool CreateFolderPath(const std::string& path, HWND owner);

}  // namespace krx
