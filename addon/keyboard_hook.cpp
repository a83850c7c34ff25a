#include "keyboard_hook.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "com_module.h"

namespace krx_addon {
namespace {

struct ThreadHook {
  DWORD thread;
  HHOOK hook;
  std::vector<KeyListener*> listeners;
};

// Several browser threads may site and unsite windows at once.
std::mutex g_lock;
std::vector<ThreadHook> g_hooks;

ThreadHook* FindLocked(DWORD thread) {
  for (ThreadHook& h : g_hooks) {
    if (h.thread == thread) return &h;
  }
  return nullptr;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM key, LPARAM info) {
  HHOOK next = nullptr;
  std::vector<KeyListener*> listeners;
  {
    std::lock_guard<std::mutex> guard(g_lock);
    if (ThreadHook* h = FindLocked(GetCurrentThreadId())) {
      next = h->hook;
      listeners = h->listeners;
    }
  }
  // The keystroke's flags are the low 32 bits of the LPARAM (which is 64 bits
  // wide in a 64-bit tab). Bit 31: the key goes up; bit 30: it was down
  // already (a repeat).
  const DWORD flags = DWORD(ULONG_PTR(info));
  const bool pressed = (flags & 0x80000000u) == 0 && (flags & 0x40000000u) == 0;
  if (code == HC_ACTION && pressed) {
    for (KeyListener* l : listeners) l->OnKeyDown(int(key));
  }
  return CallNextHookEx(next, code, key, info);
}

}  // namespace

bool WatchKeys(KeyListener* listener) {
  std::lock_guard<std::mutex> guard(g_lock);
  const DWORD thread = GetCurrentThreadId();
  if (ThreadHook* h = FindLocked(thread)) {
    h->listeners.push_back(listener);
    return true;
  }
  HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, KeyboardProc, Module(), thread);
  if (!hook) return false;
  g_hooks.push_back(ThreadHook{thread, hook, {listener}});
  return true;
}

void UnwatchKeys(KeyListener* listener) {
  std::lock_guard<std::mutex> guard(g_lock);
  for (auto it = g_hooks.begin(); it != g_hooks.end(); ++it) {
    auto& l = it->listeners;
    auto found = std::find(l.begin(), l.end(), listener);
    if (found == l.end()) continue;
    l.erase(found);
    if (l.empty()) {
      // A hook belongs to its thread; the window is unsited on that thread.
      UnhookWindowsHookEx(it->hook);
      g_hooks.erase(it);
    }
    return;
  }
}

}  // namespace krx_addon
