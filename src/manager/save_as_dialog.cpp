#include "manager/save_as_dialog.h"

#include <commdlg.h>
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
UINT_PTR CALLBACK SaveAsHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return 0;
  const OFNOTIFYA* notify = reinterpret_cast<const OFNOTIFYA*>(lParam);
  if (notify->hdr.code != CDN_INITDONE || !notify->lpOFN->hwndOwner) return 0;
  HWND dialog = GetParent(child);
  RECT owner, self;
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof monitor;
  if (!GetWindowRect(notify->lpOFN->hwndOwner, &owner) || !GetWindowRect(dialog, &self) ||
      !GetMonitorInfoA(MonitorFromWindow(notify->lpOFN->hwndOwner, MONITOR_DEFAULTTONEAREST), &monitor)) {
    return 0;
  }
  const PixelPoint at = CentredOver(ToPixelRect(owner), self.right - self.left, self.bottom - self.top,
                                    ToPixelRect(monitor.rcWork));
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
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
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLEHOOK |
                 OFN_ENABLESIZING;
  if (!GetSaveFileNameA(&dialog)) return false;
  path = file;
  request.filterIndex = dialog.nFilterIndex;
  if (dialog.nFileOffset > 0 && dialog.nFileOffset < path.size()) LastFolder() = path.substr(0, dialog.nFileOffset);
  return true;
}

}  // namespace krx
