// What the manager window leaves on the screen: after a view switch or a
// resize every button shows its face without the mouse passing over it.
// The screen is compared with what a fresh paint of the same control gives.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <map>
#include <vector>

#include "core/manager_views.h"
#include "core/settings_file.h"
#include "dialog_driver.h"
#include "manager/manager_dlg.h"
#include "manager/manager_fixture_win32.h"
#include "records/record_store.h"
#include "support/box_answerer_win32.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

namespace {

using namespace krx;

// The screen's pixels under a window, as 0x00RRGGBB.
std::vector<COLORREF> ScreenPixels(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  std::vector<COLORREF> out(size_t(w) * size_t(h));
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  GetDIBits(memory, bitmap, 0, UINT(h), out.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return out;
}

// The columns from the first to the last that hold ink (a pixel unlike the
// top-left one) within rows [top, bottom) and columns [left, right).
int InkSpan(const std::vector<COLORREF>& pixels, int width, RECT area) {
  const COLORREF paper = pixels[size_t(area.top) * size_t(width) + size_t(area.left)];
  int first = -1, last = -1;
  for (int x = area.left; x < area.right; ++x)
    for (int y = area.top; y < area.bottom; ++y)
      if (pixels[size_t(y) * size_t(width) + size_t(x)] != paper) {
        if (first < 0) first = x;
        last = x;
        break;
      }
  return first < 0 ? 0 : last - first + 1;
}

// How wide `text` draws in `font` when nothing clips it.
int DrawnWidth(HFONT font, const std::string& text) {
  const int w = 1200, h = 60;
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all = {0, 0, w, h};
  FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
  SetTextColor(dc, RGB(0, 0, 0));
  SetBkMode(dc, TRANSPARENT);
  RECT at = {10, 10, w, h};
  DrawTextA(dc, text.c_str(), int(text.size()), &at, DT_SINGLELINE | DT_NOPREFIX);
  GdiFlush();
  const auto* p = static_cast<const COLORREF*>(bits);
  const int span = InkSpan(std::vector<COLORREF>(p, p + w * h), w, RECT{0, 0, w, h});
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return span;
}

void Shot(HWND hwnd, const std::string& name) {
  if (const char* dir = std::getenv("KRX_SCREENSHOT_DIR")) krx_test::SaveWindowPng(hwnd, std::string(dir) + "\\" + name + ".png");
}

class ManagerDrawing : public krx_test::ManagerWindowTest {
 protected:
  void SetUp() override {
    RecordCollections records;
    records[kVisitRecords] = {"<12/01/2004 10:00:00> http://a.example/ - A", "<12/01/2004 10:01:00> http://b.example/ - B"};
    records[kWhiteList] = {"http://w.example/"};
    WriteUserFolder(kDefaultSettings, records);
  }

  // What the user would see: the messages the action caused are handled,
  // nothing is forced.
  static void Settle() {
    for (int i = 0; i < 4; ++i) {
      krx_test::PumpMessages();
      Sleep(50);
    }
  }

  // The visible buttons whose screen pixels differ from a fresh paint.
  static std::vector<int> BlankButtons(CManagerDlg& dlg, const std::vector<int>& ids) {
    std::vector<int> wrong;
    for (int id : ids) {
      HWND button = dlg.GetDlgItem(id);
      if (!button || !IsWindowVisible(button)) continue;
      const std::vector<COLORREF> before = ScreenPixels(button);
      RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      krx_test::PumpMessages();
      if (ScreenPixels(button) != before) wrong.push_back(id);
    }
    return wrong;
  }

};

const std::vector<int> kAllButtons = {kIdFind,   kIdDelete, kIdAddToWhite, kIdAddToForbidden, kIdVisitPlay, kIdRefresh,
                                      kIdAddNewItem, kIdUpdateItem, kIdHelp, kIdAbout, kIdSendEmail,
                                      kIdOnlineUpdate, kIdWebSite, kIdConfig, IDCANCEL, 101, 102, kIdStatusLine};

TEST_F(ManagerDrawing, ButtonsShowTheirFacesAfterAViewSwitch) {
  auto dlg = OpenManager();
  for (int view : {int(IDC_TAB_VISIT), int(IDC_TAB_WHITE), int(IDC_TAB_BLOCK), int(IDC_TAB_FORBID)}) {
    dlg->ViewSelector().SelectById(UINT(view));
    dlg->SendMessage(WM_COMMAND, WPARAM(view), 0);
    Settle();
    Shot(*dlg, "switch_" + std::to_string(view));
    EXPECT_EQ(BlankButtons(*dlg, kAllButtons), std::vector<int>()) << "view " << view;
  }
}

// Where the window's controls stand: each child's place and shown state, the
// lists' counts and the status line, as one text.
std::string ArrangementOf(HWND dlg) {
  std::string a;
  for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(child, &r);
    const bool shown = (GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE) != 0;
    a += std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + (shown ? "+ " : "- ");
  }
  for (int list : {int(kIdDateList), int(kIdItemList)}) a += std::to_string(SendMessageA(GetDlgItem(dlg, list), LB_GETCOUNT, 0, 0)) + " ";
  return a + krx_test::WindowText(GetDlgItem(dlg, kIdStatusLine));
}

// Every drawing of the window or a control during a view switch, with what
// the window looked like then.
HWND g_switching = nullptr;
std::vector<std::string> g_drawn;
LRESULT CALLBACK RecordDrawing(int code, WPARAM wParam, LPARAM lParam) {
  const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && (m->message == WM_PAINT || m->message == WM_ERASEBKGND || m->message == WM_NCPAINT) &&
      (m->hwnd == g_switching || IsChild(g_switching, m->hwnd)))
    g_drawn.push_back(ArrangementOf(g_switching));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// No frame shows a half-switched window: whatever the switch draws, it draws
// with every control where the new view has it.
TEST_F(ManagerDrawing, AViewSwitchDrawsOnlyTheWholeNewView) {
  auto dlg = OpenManager();
  Settle();
  for (int view : {int(IDC_TAB_WHITE), int(IDC_TAB_VISIT), int(IDC_TAB_CACHE), int(IDC_TAB_FLASH), int(IDC_TAB_VISIT)}) {
    g_switching = dlg->m_hWnd;
    g_drawn.clear();
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordDrawing, nullptr, GetCurrentThreadId());
    dlg->ViewSelector().SelectById(UINT(view));
    dlg->SendMessage(WM_COMMAND, WPARAM(view), 0);
    UnhookWindowsHookEx(hook);
    EXPECT_FALSE(g_drawn.empty()) << view;  // drawn at once, and whole
    for (const std::string& seen : g_drawn) EXPECT_EQ(seen, ArrangementOf(dlg->m_hWnd)) << view;
    Settle();
  }
}

TEST_F(ManagerDrawing, ButtonsShowTheirFacesAfterAResize) {
  auto dlg = OpenManager();
  for (SIZE size : {SIZE{853, 653}, SIZE{700, 500}}) {
    ::SetWindowPos(*dlg, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Settle();
    Shot(*dlg, "resize_" + std::to_string(size.cx));
    EXPECT_EQ(BlankButtons(*dlg, kAllButtons), std::vector<int>()) << size.cx << " x " << size.cy;
  }
}

// The number at the end of the status line, or -1.
int StatusCount(CManagerDlg& dlg) {
  const std::string text = dlg.StatusLine().GetWindowText();
  const size_t colon = text.rfind(": ");
  return colon == std::string::npos ? -1 : std::atoi(text.c_str() + colon + 2);
}

// After every command that changes the item list, the status line counts
// what the list holds.
TEST_F(ManagerDrawing, TheStatusLineCountsTheListAfterEveryCommand) {
  auto dlg = OpenManager();
  struct Step {
    int view;
    const char* input;
    int command;
    int line;  // selected and focused first, or -1
  } steps[] = {
      {IDC_TAB_VISIT, "", kIdDelete, 0},
      {IDC_TAB_WHITE, "http://new.example/", kIdAddNewItem, -1},
      {IDC_TAB_WHITE, "http://other.example/", kIdUpdateItem, 0},
      {IDC_TAB_WHITE, "", kIdDelete, 1},
  };
  krx_test::BoxAnswerer boxes;
  for (const Step& s : steps) {
    if (dlg->CurrentView() != s.view) {
      dlg->ViewSelector().SelectById(UINT(s.view));
      dlg->SendMessage(WM_COMMAND, WPARAM(s.view), 0);
    }
    if (IsLogView(s.view) && dlg->DateList().GetCurSel() < 0) {
      dlg->DateList().SetCurSel(0);
      dlg->OnDateChosen();
    }
    krx_test::PumpMessages();
    dlg->InputBox().SetWindowText(s.input);
    if (s.line >= 0) {
      dlg->ItemList().SetSel(-1, FALSE);
      dlg->ItemList().SetSel(s.line, TRUE);
      dlg->ItemList().SetCaretIndex(s.line, FALSE);
    }
    const int before = dlg->ItemList().GetCount();
    dlg->SendMessage(WM_COMMAND, MAKEWPARAM(s.command, BN_CLICKED), LPARAM(dlg->GetDlgItem(s.command)));
    krx_test::PumpMessages();
    EXPECT_EQ(StatusCount(*dlg), dlg->ItemList().GetCount()) << s.view << " " << s.command << ", " << before << " lines before";
  }
}

// "Show me" brings back a minimised window, hidden in the tray or not.
TEST_F(ManagerDrawing, ShowMeRestoresAMinimisedWindow) {
  auto dlg = OpenManager();
  for (bool hidden : {false, true}) {
    dlg->SendMessage(WM_COMMAND, kIdMinimize, 0);
    krx_test::PumpMessages();
    ASSERT_TRUE(IsIconic(*dlg));
    if (hidden) dlg->SendMessage(WM_COMMAND, ID_TRAY_HIDE, 0);
    dlg->SendMessage(WM_COMMAND, ID_TRAY_SHOW, 0);
    krx_test::PumpMessages();
    EXPECT_FALSE(IsIconic(*dlg)) << "hidden: " << hidden;
    EXPECT_TRUE(IsWindowVisible(*dlg));
    EXPECT_EQ(dlg->GetVisibility(), CManagerDlg::kShown);
  }
}

// Every tooltip of the toolbar, the bottom row and the view selector shows
// the whole of its text (the ink in the tip spans what the text draws),
// above its button.
TEST_F(ManagerDrawing, TooltipsShowTheirWholeText) {
  auto dlg = OpenManager();
  // With room above it on the screen, as a window usually has.
  SetWindowPos(*dlg, nullptr, 40, 240, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  std::vector<CMacButton*> buttons;
  for (const ViewInfo& v : kViews) buttons.push_back(dlg->ViewSelector().FindButton(UINT(v.id)));
  for (int view : {int(IDC_TAB_VISIT), int(IDC_TAB_FORBID)}) {
    dlg->ViewSelector().SelectById(UINT(view));
    dlg->SendMessage(WM_COMMAND, WPARAM(view), 0);
    Settle();
    std::vector<CMacButton*> shown = buttons;
    for (int id : kAllButtons)
      if (CMacButton* b = dlg->Button(id); b && IsWindowVisible(*b)) shown.push_back(b);
    for (CMacButton* b : shown) {
      ASSERT_NE(b, nullptr);
      HWND tip = b->TooltipWindow();
      ASSERT_NE(tip, nullptr);
      RECT r;
      GetWindowRect(*b, &r);
      SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
      POINT inside = {(r.right - r.left) / 2, (r.bottom - r.top) / 2};
      b->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(inside.x, inside.y));
      krx_test::PumpUntil([&] { return IsWindowVisible(tip) != FALSE; }, 5000);
      ASSERT_TRUE(IsWindowVisible(tip));
      Settle();
      char text[256] = {};
      GetWindowTextA(tip, text, sizeof text);
      Shot(tip, std::string("tip_") + std::to_string(GetDlgCtrlID(*b)));
      RECT t;
      GetWindowRect(tip, &t);
      const int w = t.right - t.left, h = t.bottom - t.top;
      const int inked = InkSpan(ScreenPixels(tip), w, RECT{2, 2, w - 2, h - 2});
      const HFONT font = HFONT(::SendMessageA(tip, WM_GETFONT, 0, 0));
      EXPECT_GE(inked, DrawnWidth(font, text)) << "\"" << text << "\"";
      // Above its button, covering neither the toolbar nor the lists below.
      EXPECT_LE(t.bottom, r.top) << "\"" << text << "\"";
      // Away, so the next button's tip is the one shown.
      SetCursorPos(0, 0);
      b->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-50, -50));
      ::SendMessageA(tip, TTM_POP, 0, 0);
      krx_test::PumpMessages();
    }
  }
}

}  // namespace
