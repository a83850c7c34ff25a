#pragma once
// CMenu: one owned menu handle (destroyed with the object unless detached).
//
// Owner-drawn items: derive from CMenu, override DrawItem and MeasureItem,
// and keep the object alive while the menu shows. The WM_DRAWITEM and
// WM_MEASUREITEM that the menu's owner window receives (if that window is a
// CWnd) are passed to the CMenu holding the item: by menu handle for drawing,
// and for measuring to the first live owner-drawn CMenu that has the item id.
#include <windows.h>

#include <string>

namespace krx {

class CMenu {
 public:
  CMenu() = default;
  virtual ~CMenu();
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  HMENU m_hMenu = nullptr;
  operator HMENU() const { return m_hMenu; }

  BOOL CreatePopupMenu();
  BOOL CreateMenu();
  BOOL LoadMenu(UINT id);
  BOOL Attach(HMENU menu);
  HMENU Detach();
  BOOL DestroyMenu();

  BOOL AppendMenu(UINT flags, UINT_PTR idOrPopup = 0, const char* text = nullptr) {
    return ::AppendMenuA(m_hMenu, flags, idOrPopup, text);
  }
  BOOL InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, const char* text = nullptr) {
    return ::InsertMenuA(m_hMenu, position, flags, idOrPopup, text);
  }
  BOOL ModifyMenu(UINT position, UINT flags, UINT_PTR idOrPopup = 0, const char* text = nullptr) {
    return ::ModifyMenuA(m_hMenu, position, flags, idOrPopup, text);
  }
  BOOL RemoveMenu(UINT position, UINT flags) { return ::RemoveMenu(m_hMenu, position, flags); }
  BOOL DeleteMenu(UINT position, UINT flags) { return ::DeleteMenu(m_hMenu, position, flags); }
  DWORD CheckMenuItem(UINT id, UINT flags) { return ::CheckMenuItem(m_hMenu, id, flags); }
  UINT EnableMenuItem(UINT id, UINT flags) { return ::EnableMenuItem(m_hMenu, id, flags); }
  UINT GetMenuState(UINT id, UINT flags) const { return ::GetMenuState(m_hMenu, id, flags); }
  int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
  UINT GetMenuItemID(int position) const { return ::GetMenuItemID(m_hMenu, position); }
  HMENU GetSubMenu(int position) const { return ::GetSubMenu(m_hMenu, position); }
  std::string GetMenuString(UINT item, UINT flags) const;
  BOOL TrackPopupMenu(UINT flags, int x, int y, HWND owner) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner, nullptr);
  }

  // The CMenu holding a handle, or null.
  static CMenu* FromHandle(HMENU menu);

  // Called by CWnd for a menu WM_DRAWITEM / WM_MEASUREITEM; true when some
  // CMenu drew or measured the item.
  static bool ReflectMenuMessage(UINT msg, LPARAM lParam, LRESULT& result);

 protected:
  virtual bool DrawItem(const DRAWITEMSTRUCT&) { return false; }
  virtual bool MeasureItem(MEASUREITEMSTRUCT&) { return false; }

 private:
  void Register();
  void Unregister();
};

}  // namespace krx
