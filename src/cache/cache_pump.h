#pragma once
// The cache loops keep their window alive themselves: they take the
// window's pending messages off the queue and dispatch them, and watch for
// Escape among them.
#include <windows.h>

#include <string>

#include "framework/wait_cursor.h"


namespace krx {

// Removes and dispatches every pending message of window and its children.
// A key-down of Escape among them is noted and not passed on (a multi-line
// edit would turn it into the dialog's Cancel). A WM_QUIT is put back for
// the outer loop and counts as Escape.
struct Drained {
  bool escape = false;
  int dispatched = 0;  // what the user did reached the window only through these
};
Drained DrainMessages(HWND window);

std::string WindowText(HWND window);

// The selected item of a drop-down list, -1 when none (or no list).
int ComboSelection(HWND combo);

}  // namespace krx
