#include "framework/menu.h"

#include <mutex>
#include <vector>

namespace krx {

namespace {

// Live menus; few at a time, so a plain list.
std::mutex g_menusLock;
std::vector<CMenu*>& Menus() {
  static std::vector<CMenu*> menus;
  return menus;
}

}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

void CMenu::Register() {
  std::lock_guard<std::mutex> lock(g_menusLock);
  Menus().push_back(this);
}

void CMenu::Unregister() {
  std::lock_guard<std::mutex> lock(g_menusLock);
  auto& menus = Menus();
  for (size_t i = 0; i < menus.size(); ++i) {
    if (menus[i] == this) {
      menus.erase(menus.begin() + long(i));
      break;
    }
  }
}

BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }

BOOL CMenu::LoadMenu(UINT id) { return Attach(::LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id))); }

BOOL CMenu::Attach(HMENU menu) {
  if (!menu) return FALSE;
  DestroyMenu();
  m_hMenu = menu;
  Register();
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU menu = m_hMenu;
  if (menu) Unregister();
  m_hMenu = nullptr;
  return menu;
}

BOOL CMenu::DestroyMenu() {
  HMENU menu = Detach();
  return menu ? ::DestroyMenu(menu) : FALSE;
}

std::string CMenu::GetMenuString(UINT item, UINT flags) const {
  char buffer[512] = {};
  int length = ::GetMenuStringA(m_hMenu, item, buffer, sizeof(buffer), flags);
  return std::string(buffer, size_t(length > 0 ? length : 0));
}

CMenu* CMenu::FromHandle(HMENU menu) {
  std::lock_guard<std::mutex> lock(g_menusLock);
  for (CMenu* m : Menus()) {
    if (m->m_hMenu == menu) return m;
  }
  return nullptr;
}

bool CMenu::ReflectMenuMessage(UINT msg, LPARAM lParam, LRESULT& result) {
  if (!lParam) return false;
  if (msg == WM_DRAWITEM) {
    auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item->CtlType != ODT_MENU) return false;
    CMenu* menu = FromHandle(reinterpret_cast<HMENU>(item->hwndItem));
    if (!menu || !menu->DrawItem(*item)) return false;
    result = TRUE;
    return true;
  }
  if (msg == WM_MEASUREITEM) {
    auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    if (item->CtlType != ODT_MENU) return false;
    std::vector<CMenu*> menus;
    {
      std::lock_guard<std::mutex> lock(g_menusLock);
      menus = Menus();
    }
    for (CMenu* m : menus) {
      if (m->GetMenuState(item->itemID, MF_BYCOMMAND) != UINT(-1) && m->MeasureItem(*item)) {
        result = TRUE;
        return true;
      }
    }
  }
  return false;
}

}  // namespace krx
