#include "manager/save_as_dialog.h"

#include <commdlg.h>
#include <dlgs.h>
#include <shlobj.h>

#include "core/pixel_geometry.h"

namespace krx {
namespace {

// Where the dialog opens next: the folder of the last file saved in this
// run. The settings file has no room for a path, and the user's Documents
// folder is a good start for each run.
std::string& LastFolder() {
  static std::string folder;
  return folder;
}

std::string DocumentsFolder() {
  char path[MAX_PATH] = {};
  const HRESULT found =
      SHGetFolderPathA(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  return SUCCEEDED(found) ? path : std::string();
}

PixelRect ToPixelRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

// The explorer-style dialog is the parent of the hook's (empty) child
// dialog; once it is laid out, it moves over its owner.
void CentreOverOwner(HWND dialog, HWND owner) {
  RECT ownerRect, self;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (!GetWindowRect(owner, &ownerRect) || !GetWindowRect(dialog, &self) ||
      !GetMonitorInfoA(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return;
  }
  const PixelPoint at = CentredOver(ToPixelRect(ownerRect), self.right - self.left, self.bottom - self.top,
                                    ToPixelRect(monitor.rcWork));
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A new type puts its ending on the name in the box at once, so the name
// the user confirms is the one written.
void RenameForType(HWND dialog, const SaveAsRequest& request, DWORD filterIndex) {
  // A name typed bare gets the new type's ending too.
  const std::string ending = request.nameForType("", filterIndex);
  if (!ending.empty() && ending[0] == '.') SendMessageA(dialog, CDM_SETDEFEXT, 0, LPARAM(ending.c_str() + 1));
  char typed[MAX_PATH] = {};
  if (SendMessageA(dialog, CDM_GETSPEC, sizeof typed, LPARAM(typed)) <= 0 || !typed[0]) return;
  const std::string renamed = request.nameForType(typed, filterIndex);
  if (renamed == typed) return;
  // The name box: the combo of the explorer template, or the plain edit.
  const int box = GetDlgItem(dialog, cmb13) ? cmb13 : edt1;
  SendMessageA(dialog, CDM_SETCONTROLTEXT, box, LPARAM(renamed.c_str()));
}

// A name typed with another type's ending is saved under the chosen type's:
// the dialog asked about the typed file, so a different one that exists is
// asked about here. False keeps the dialog open.
bool AcceptRenamed(HWND dialog, const OPENFILENAMEA& ofn, const SaveAsRequest& request) {
  const std::string typed = ofn.lpstrFile;
  const std::string path = request.nameForType(typed, ofn.nFilterIndex);
  if (path == typed || GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  const std::string name = path.substr(path.find_last_of("\\/") + 1);
  return MessageBoxA(dialog, (name + " already exists.\nDo you want to replace it?").c_str(), "Confirm Save As",
                     MB_YESNO | MB_ICONWARNING) == IDYES;
}

UINT_PTR CALLBACK SaveAsHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return 0;
  const OFNOTIFYA* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
  const OPENFILENAMEA& ofn = *notify->lpOFN;
  const SaveAsRequest* request = reinterpret_cast<const SaveAsRequest*>(ofn.lCustData);
  HWND dialog = GetParent(child);
  switch (notify->hdr.code) {
    case CDN_INITDONE:
      if (ofn.hwndOwner) CentreOverOwner(dialog, ofn.hwndOwner);
      break;
    case CDN_TYPECHANGE:
      if (request && request->nameForType) RenameForType(dialog, *request, ofn.nFilterIndex);
      break;
    case CDN_FILEOK:
      if (request && request->nameForType && !AcceptRenamed(dialog, ofn, *request)) {
        SetWindowLongPtrA(child, DWLP_MSGRESULT, 1);
        return 1;
      }
      break;
  }
  return 0;
}

}  // namespace

bool ShowSaveAs(HWND owner, SaveAsRequest& request, std::string& path) {
  char file[MAX_PATH] = {};
  request.proposedName.copy(file, sizeof file - 1);
  if (LastFolder().empty()) LastFolder() = DocumentsFolder();
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = request.filter;
  dialog.nFilterIndex = request.filterIndex;
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrInitialDir = LastFolder().empty() ? nullptr : LastFolder().c_str();
  dialog.lpstrDefExt = request.defaultExtension;
  dialog.lpfnHook = &SaveAsHook;
  dialog.lCustData = reinterpret_cast<LPARAM>(&request);
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLEHOOK |
                 OFN_ENABLESIZING;
  if (!GetSaveFileNameA(&dialog)) return false;
  request.filterIndex = dialog.nFilterIndex;
  path = request.nameForType ? request.nameForType(file, request.filterIndex) : std::string(file);
  if (dialog.nFileOffset > 0 && dialog.nFileOffset < path.size()) LastFolder() = path.substr(0, dialog.nFileOffset);
  return true;
}

}  // namespace krx
