#pragma once
// A small dialog with the cache view's controls, for driving the cache
// browser without the manager window.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "cache/cache_view.h"
#include "framework/combo_box.h"
#include "framework/dialog.h"
#include "framework/edit.h"
#include "framework/static.h"
#include "skin/skin_list_box.h"

namespace cache_test {

// The item list, with hooks that let a test act in the middle of a loop.
class HookedList : public krx::CSkinListBox {
 public:
  std::function<void(int added)> onAdd;  // after each line added (sorted or at the end)
  std::function<void(int index)> onRead;  // before a line's text is read
  int added = 0, read = 0;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
};

class CacheHost : public krx::CDialog {
 public:
  bool Open();
  krx::CacheViewControls Controls();
  void SetFilter(int field, int op, const std::string& value);
  std::vector<std::string> Lines() const;
  std::string Status() const { return status.GetWindowText(); }
  std::string Details() const { return details.GetWindowText(); }
  void AddLines(const std::vector<std::string>& lines);
  // Selects the lines whose text is one of texts.
  void Select(const std::vector<std::string>& texts);

  HookedList items;
  krx::CEdit details, value;
  // Runs when a posted WM_APP reaches the dialog: a loop that dispatches
  // the dialog's messages runs it between two of its steps.
  std::function<void()> onApp;

 protected:
  bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 public:
  krx::CStatic status;
  krx::CComboBox field, op;
};

// Posts an Escape key press to whatever window has the keyboard (as the
// keyboard would), or else to the active window.
void PressEscape();

}  // namespace cache_test
