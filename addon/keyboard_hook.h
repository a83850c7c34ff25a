#pragma once
// The keys pressed in a browser window, for the flash and GIF hotkeys. A
// helper object has no window of its own; it watches its thread's keyboard
// messages with a hook on that thread alone, one hook per thread, shared by
// the add-on's windows on it and removed with the last of them.
namespace krx_addon {

class KeyListener {
 public:
  // Called on the browser window's thread for a key going down (not for its
  // repeats); must not throw.
  virtual void OnKeyDown(int virtualKey) = 0;

 protected:
  ~KeyListener() = default;
};

bool WatchKeys(KeyListener* listener);
void UnwatchKeys(KeyListener* listener);

}  // namespace krx_addon
