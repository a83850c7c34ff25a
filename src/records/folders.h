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

// Where the add-on leaves its day files when tmp\ refuses its writes (a
// browser tab at low integrity cannot write a folder of medium integrity
// whatever its access list says): Kestrelix\tmp\ under the user's
// LocalAppDataLow known folder, which such a tab may write. With
// askBrowser the browser's own answer for that folder comes first
// (IEGetWriteableFolderPath, when the browser's library is loaded in the
// process). Both are looked up at run time; empty before Windows Vista, or
// when the path does not fit the code page.
std::string LowTmpFolder(bool askBrowser);

// Creates every missing folder of path. On a failure shows the folder's path
// followed by " directory create error." in a plain message box owned by
// owner and returns false.
bool CreateFolderPath(const std::string& path, HWND owner);

}  // namespace krx
