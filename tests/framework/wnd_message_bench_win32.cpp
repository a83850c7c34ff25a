// wnd_message_bench.exe: what one message costs through a window the layer
// has adopted, beside the same message handed straight to the window's
// class procedure, and beside the binding the layer had before (comctl32's
// subclassing with the object found in a window property). Prints figures
// and ratios; judges nothing. KRX_BENCH_SCALE=0.01 for a quick look.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <functional>

#include "bench_clock.h"
#include "framework/dialog.h"
#include "framework/dialog_template.h"
#include "framework/list_box.h"

namespace {

// The best of a few rounds, in microseconds a message: the other rounds
// met a busy machine.
double MicrosPerMessage(long count, const std::function<void()>& send) {
  double best = 0;
  for (int round = 0; round < 5; ++round) {
    const auto start = krx_bench::Clock::now();
    for (long i = 0; i < count; ++i) send();
    const double each = krx_bench::Seconds(start) * 1e6 / double(count);
    if (round == 0 || each < best) best = each;
  }
  return best;
}

// The old binding, as it was: one comctl32 subclass, the object read from a
// property on every message, the default through DefSubclassProc.
const char kOldProperty[] = "KrxWndObject";
LRESULT CALLBACK OldSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (!GetPropA(hwnd, kOldProperty)) return 0;
  return DefSubclassProc(hwnd, msg, wParam, lParam);
}

// An owner-drawn list that answers its own WM_MEASUREITEM, reflected to it
// by its dialog: what a skinned list does for every line it is given.
class MeasuringList : public krx::CListBox {
 protected:
  bool OnReflect(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) override {
    if (msg != WM_MEASUREITEM) return false;
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = 16;
    result = TRUE;
    return true;
  }
};

HWND PlainList(HWND parent, int id) {
  HWND list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS, 10, 10, 200, 100, parent,
                              HMENU(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
  for (int i = 0; i < 10; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM("line"));
  return list;
}

}  // namespace

int main() {
  setvbuf(stdout, nullptr, _IONBF, 0);
  const long count = long(200000 * krx_bench::Scale()) + 1;
  HWND parent = CreateWindowExA(0, "STATIC", "Message bench", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
  krx::CListBox adopted;
  if (!parent || !adopted.Create(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS, RECT{10, 10, 210, 110}, parent, 1)) {
    std::printf("the windows did not open\n");
    return 1;
  }
  for (int i = 0; i < 10; ++i) adopted.AddString("line");
  HWND plain = PlainList(parent, 2);
  HWND old = PlainList(parent, 3);
  SetPropA(old, kOldProperty, HANDLE(&adopted));
  SetWindowSubclass(old, &OldSubclassProc, 1, 0);
  const WNDPROC classProc = WNDPROC(GetClassLongPtrA(adopted, GCLP_WNDPROC));

  const double straight = MicrosPerMessage(count, [&] { CallWindowProcA(classProc, adopted, LB_GETCOUNT, 0, 0); });
  const double through = MicrosPerMessage(count, [&] { adopted.SendMessage(LB_GETCOUNT); });
  const double system = MicrosPerMessage(count, [&] { SendMessageA(plain, LB_GETCOUNT, 0, 0); });
  const double before = MicrosPerMessage(count / 10 + 1, [&] { SendMessageA(old, LB_GETCOUNT, 0, 0); });
  std::printf("LB_GETCOUNT, %ld messages a round, best of 5 rounds:\n", count);
  std::printf("  straight to the list box's class procedure:        %7.3f us\n", straight);
  std::printf("  sent to a list box the layer adopted:               %7.3f us: %.1fx the straight cost\n", through,
              through / straight);
  std::printf("  sent to a list box nobody adopted:                  %7.3f us: %.1fx\n", system, system / straight);
  std::printf("  sent through comctl32 subclassing and a property:   %7.3f us: %.1fx (the binding before)\n", before,
              before / straight);

  // WM_MEASUREITEM to an adopted dialog, reflected to its adopted list.
  krx::DialogTemplate t(WS_POPUP | WS_VISIBLE | DS_SETFONT, 0, 10, 10, 200, 100, "Owner", "Tahoma", 9);
  krx::CDialog dialog;
  MeasuringList owned;
  if (!dialog.CreateIndirect(t.Get(), nullptr) ||
      !owned.Create(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, RECT{5, 5, 105, 55}, dialog, 7)) {
    std::printf("the dialog did not open\n");
    return 1;
  }
  MEASUREITEMSTRUCT item = {ODT_LISTBOX, 7, 0, 100, 0, 0};
  const WNDPROC dialogProc = WNDPROC(GetClassLongPtrA(dialog, GCLP_WNDPROC));
  const double dialogStraight =
      MicrosPerMessage(count, [&] { CallWindowProcA(dialogProc, dialog, WM_MEASUREITEM, 7, LPARAM(&item)); });
  const double reflected = MicrosPerMessage(count, [&] { dialog.SendMessage(WM_MEASUREITEM, 7, LPARAM(&item)); });
  std::printf("WM_MEASUREITEM to a dialog:\n");
  std::printf("  straight to the dialog's class procedure:          %7.3f us\n", dialogStraight);
  std::printf("  sent to the adopted dialog, answered by its list:   %7.3f us: %.1fx\n", reflected,
              reflected / dialogStraight);

  RemoveWindowSubclass(old, &OldSubclassProc, 1);
  RemovePropA(old, kOldProperty);
  DestroyWindow(parent);
  return 0;
}
