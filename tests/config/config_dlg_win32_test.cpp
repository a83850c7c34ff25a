// The options window driven by messages as a user would: what it shows,
// what the enable box greys, theme preview, and what OK reads and writes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include <cstdlib>
#include <functional>

#include "config/config_dlg.h"
#include "config/html_help.h"
#include "config_test_support.h"
#include "core/config_mappings.h"
#include "core/integration_entries.h"
#include "core/theme_table.h"
#include "records/folders.h"
#include "skin/mac_glyph_button.h"
#include "support/test_support.h"
#include "support/window_capture_win32.h"

using krx::CConfigDlg;
using krx_test::PumpMessages;

namespace {

// The dialog's own controls in creation order, without the caption bar and
// close button that every skinned dialog carries.
std::vector<HWND> OwnControls(CConfigDlg& dlg) {
  std::vector<HWND> out;
  for (HWND child = GetWindow(dlg.m_hWnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child != dlg.CaptionBar().m_hWnd && child != dlg.CloseButton().m_hWnd) out.push_back(child);
  }
  return out;
}

std::string TextOf(HWND hwnd) {
  char text[256] = {};
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string ClassOf(HWND hwnd) {
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  return cls;
}

RECT ClientRectOf(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

HWND ControlByText(CConfigDlg& dlg, const std::string& text) {
  for (HWND h : OwnControls(dlg)) {
    if (TextOf(h) == text) return h;
  }
  return nullptr;
}

// A click in the middle of the box (or circle) at the control's left.
void ClickBox(HWND control) {
  RECT r;
  GetClientRect(control, &r);
  krx_test::ClickClient(control, 5, (r.bottom - r.top) / 2);
  PumpMessages();
}

// The skinned boxes keep their own state: ask the control object.
bool Checked(HWND control) {
  krx::CWnd* object = krx::CWnd::FromHandle(control);
  if (auto* box = dynamic_cast<krx::CMacCheckBox*>(object)) return box->GetCheck() != FALSE;
  if (auto* radio = dynamic_cast<krx::CMacRadioButton*>(object)) return radio->GetCheck() != FALSE;
  ADD_FAILURE() << "not a skinned box";
  return false;
}

// Runs the dialog modally; drive runs inside its loop and must end it.
INT_PTR RunDialog(CConfigDlg& dlg, std::function<void()> drive) {
  krx_test::RunInLoop([&] {
    PumpMessages();
    drive();
  });
  return dlg.DoModal();
}

void Press(HWND button) {
  SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), LPARAM(button));
}

class ConfigDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { dlg.SetConfigPath(folder / "KRX.cfg"); }
  krx_test::TempFolder folder;
  CConfigDlg dlg;
};

std::string ScreenshotFolder() {
  const char* dir = std::getenv("KRX_SCREENSHOT_DIR");
  if (!dir || !*dir) return "";
  std::string out = dir;
  if (out.back() != '\\' && out.back() != '/') out += '\\';
  return out;
}

}  // namespace

TEST_F(ConfigDialogTest, ShowsEveryControlWithItsTextIdAndPlaceInOrder) {
  RECT window = {}, client = {};
  std::vector<HWND> controls;
  std::string title;
  RunDialog(dlg, [&] {
    GetWindowRect(dlg.m_hWnd, &window);
    GetClientRect(dlg.m_hWnd, &client);
    controls = OwnControls(dlg);
    title = TextOf(dlg.m_hWnd);

    const std::vector<krx::ConfigControl> expected = krx::ConfigDialogControls(client.right);
    ASSERT_EQ(controls.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      const krx::ConfigControl& c = expected[i];
      HWND h = controls[i];
      SCOPED_TRACE(c.text + " #" + std::to_string(i));
      // A drop-down list's text is its selected entry.
      if (c.kind != krx::ConfigControlKind::kDropList) {
        EXPECT_EQ(TextOf(h), c.text);
      }
      if (c.id) {
        EXPECT_EQ(GetDlgCtrlID(h), c.id);
      }
      const RECT r = ClientRectOf(h);
      EXPECT_EQ(r.left, c.rect.left);
      EXPECT_EQ(r.top, c.rect.top);
      EXPECT_EQ(r.right, c.rect.right);
      // A closed drop-down list is only as high as its edit part.
      if (c.kind != krx::ConfigControlKind::kDropList) {
        EXPECT_EQ(r.bottom, c.rect.bottom);
      }
      EXPECT_EQ(ClassOf(h), c.kind == krx::ConfigControlKind::kLabel      ? "Static"
                            : c.kind == krx::ConfigControlKind::kDropList ? "ComboBox"
                                                                           : "Button");
      // The dialog's font on every control.
      EXPECT_EQ(HFONT(SendMessageA(h, WM_GETFONT, 0, 0)), dlg.NormalFont());
    }
    // The hotkey lists offer their keys; the defaults are selected.
    HWND pause = controls[18], flash = controls[20], gif = controls[22];
    EXPECT_EQ(SendMessageA(pause, CB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(flash, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(pause, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageA(flash, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(gif, CB_GETCURSEL, 0, 0), 2);
    // Sky is the default theme, so its button is the one set.
    EXPECT_TRUE(Checked(ControlByText(dlg, "Sky")));
    EXPECT_FALSE(Checked(ControlByText(dlg, "Blue")));
    dlg.EndDialog(IDCANCEL);
  });
  EXPECT_EQ(window.right - window.left, 595);
  EXPECT_EQ(window.bottom - window.top, 390);
  const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(window.left, (screenW - 595) / 2);
  EXPECT_EQ(window.top, (screenH - 390) / 2);
  EXPECT_EQ(title, "Kestrelix - Config");
}

TEST_F(ConfigDialogTest, AKeyOfNoEntryShowsNoSelectionAndSurvivesOk) {
  dlg.Set(krx::kFlashKey, 121);
  dlg.Set(krx::kPauseModifier, 18);
  INT_PTR result = RunDialog(dlg, [&] {
    std::vector<HWND> controls = OwnControls(dlg);
    EXPECT_EQ(SendMessageA(controls[18], CB_GETCURSEL, 0, 0), 1);   // ATL
    EXPECT_EQ(SendMessageA(controls[20], CB_GETCURSEL, 0, 0), -1);  // 121: none
    SendMessageA(controls[22], CB_SETCURSEL, 3, 0);                 // GIF: F12
    Press(GetDlgItem(dlg.m_hWnd, IDOK));
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(dlg.Get(krx::kFlashKey), 121);
  EXPECT_EQ(dlg.Get(krx::kPauseModifier), 18);
  EXPECT_EQ(dlg.Get(krx::kGifKey), 123);
  EXPECT_EQ(krx_test::ReadFileBytes(folder / "KRX.cfg"), krx::SerializeSettings(dlg.values()));
}

TEST_F(ConfigDialogTest, TheEnableBoxGreysTheOptionsAndListsAndCancelKeepsItsState) {
  INT_PTR result = RunDialog(dlg, [&] {
    std::vector<HWND> controls = OwnControls(dlg);
    HWND enable = GetDlgItem(dlg.m_hWnd, krx::kEnableCheckBoxId);
    ASSERT_TRUE(Checked(enable));
    auto enabledCount = [&] {
      int n = 0;
      for (HWND h : controls) n += IsWindowEnabled(h) ? 1 : 0;
      return n;
    };
    EXPECT_EQ(enabledCount(), 35);
    ClickBox(enable);
    EXPECT_FALSE(Checked(enable));
    EXPECT_EQ(dlg.Get(krx::kAddOnEnabled), 0);
    // Boxes 2..16 and the lists at 18, 20, 22: eighteen greyed, the rest not.
    for (size_t i = 0; i < controls.size(); ++i) {
      const bool option = (i >= 2 && i <= 16) || i == 18 || i == 20 || i == 22;
      EXPECT_EQ(IsWindowEnabled(controls[i]) != 0, !option) << i << " " << TextOf(controls[i]);
    }
    EXPECT_EQ(enabledCount(), 35 - 18);
    if (!ScreenshotFolder().empty()) {
      krx_test::SaveWindowPng(dlg.m_hWnd, ScreenshotFolder() + "config_addon_disabled.png");
    }
    ClickBox(enable);
    EXPECT_EQ(enabledCount(), 35);
    EXPECT_EQ(dlg.Get(krx::kAddOnEnabled), 1);
    ClickBox(enable);
    Press(GetDlgItem(dlg.m_hWnd, IDCANCEL));
  });
  EXPECT_EQ(result, IDCANCEL);
  // Set while open, not undone by Cancel; nothing was written.
  EXPECT_EQ(dlg.Get(krx::kAddOnEnabled), 0);
  EXPECT_EQ(GetFileAttributesA((folder / "KRX.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ConfigDialogTest, AThemeButtonReskinsAtOnceAndCancelKeepsTheChosenTheme) {
  // A point of bare dialog background between the two frames.
  const int x = 12, y = 288;
  COLORREF before = 0, after = 0;
  INT_PTR result = RunDialog(dlg, [&] {
    UpdateWindow(dlg.m_hWnd);
    PumpMessages();
    before = krx_test::ClientPixel(dlg.m_hWnd, x, y);
    ClickBox(ControlByText(dlg, "Orange"));
    UpdateWindow(dlg.m_hWnd);
    PumpMessages();
    after = krx_test::ClientPixel(dlg.m_hWnd, x, y);
    EXPECT_EQ(dlg.GetTheme(), 3);
    EXPECT_TRUE(Checked(ControlByText(dlg, "Orange")));
    EXPECT_FALSE(Checked(ControlByText(dlg, "Sky")));
    // The boxes follow the dialog's theme.
    EXPECT_EQ(dlg.Get(krx::kThemeIndex), 3);
    Press(GetDlgItem(dlg.m_hWnd, IDCANCEL));
  });
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(before, krx::GetThemeColours(1)[1]);
  EXPECT_EQ(after, krx::GetThemeColours(3)[1]);
  EXPECT_EQ(dlg.Get(krx::kThemeIndex), 3);
  EXPECT_EQ(GetFileAttributesA((folder / "KRX.cfg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(ConfigDialogTest, OkReadsEveryBoxIntoItsSettingAppliesTheRegistryAndWritesTheFile) {
  const std::string button = krx::ToolbarButtonKey();
  // Every option box flipped from its default by a click.
  INT_PTR result = RunDialog(dlg, [&] {
    std::vector<HWND> controls = OwnControls(dlg);
    for (size_t i = 2; i <= 16; ++i) ClickBox(controls[i]);
    SendMessageA(controls[18], CB_SETCURSEL, 1, 0);
    SendMessageA(controls[20], CB_SETCURSEL, 0, 0);
    Press(GetDlgItem(dlg.m_hWnd, IDOK));
  });
  EXPECT_EQ(result, IDOK);
  krx::SettingValues expected = krx::kDefaultSettings;
  for (krx::Setting s : krx::kOptionBoxSettings) expected[s] = 1 - expected[s];
  expected[krx::kPauseModifier] = 18;
  expected[krx::kFlashKey] = 118;
  EXPECT_EQ(dlg.values(), expected);
  EXPECT_EQ(krx_test::ReadFileBytes(folder / "KRX.cfg"), krx::SerializeSettings(expected));
  // Autorun and the toolbar button were on and are now off.
  EXPECT_FALSE(krx_test::KeyExists(HKEY_LOCAL_MACHINE, button));
  EXPECT_EQ(krx_test::ReadValue(HKEY_CURRENT_USER, krx::kRunKey, "Kestrelix").first, 0u);

  // And back on: the second run starts from what the first left.
  result = RunDialog(dlg, [&] {
    std::vector<HWND> controls = OwnControls(dlg);
    EXPECT_FALSE(Checked(controls[2]));
    ClickBox(ControlByText(dlg, "Show Kestrelix in the toolbar of IE."));
    ClickBox(ControlByText(dlg, "Auto run at windows startup."));
    Press(GetDlgItem(dlg.m_hWnd, IDOK));
  });
  EXPECT_EQ(dlg.Get(krx::kToolbarButton), 1);
  EXPECT_EQ(dlg.Get(krx::kAutorun), 1);
  EXPECT_TRUE(krx_test::KeyExists(HKEY_LOCAL_MACHINE, button));
  EXPECT_EQ(krx_test::ReadValue(HKEY_CURRENT_USER, krx::kRunKey, "Kestrelix").first, DWORD(REG_SZ));
}

TEST_F(ConfigDialogTest, TheThemeReadFromTheFileIsTheDialogsThemeBeforeItOpens) {
  krx::SettingValues stored = krx::kDefaultSettings;
  stored[krx::kThemeIndex] = 4;
  krx_test::WriteFileBytes(folder / "KRX.cfg", krx::SerializeSettings(stored));
  dlg.LoadConfig();
  // What an owner reads to colour itself at start.
  EXPECT_EQ(dlg.GetTheme(), 4);
  bool licorice = false;
  RunDialog(dlg, [&] {
    licorice = Checked(ControlByText(dlg, "Licorice"));
    dlg.EndDialog(IDCANCEL);
  });
  EXPECT_TRUE(licorice);
}

TEST_F(ConfigDialogTest, OkWritesTheUsersChoiceEvenWhenTheFileCouldNotBeReadAtStart) {
  const std::string path = folder / "KRX.cfg";
  krx_test::WriteFileBytes(path, std::string(100, '\x02'));
  HANDLE holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  dlg.LoadConfig();  // busy: not read, and not to be overwritten behind the user's back
  CloseHandle(holder);
  RunDialog(dlg, [&] {
    ClickBox(ControlByText(dlg, "Orange"));
    Press(GetDlgItem(dlg.m_hWnd, IDOK));
  });
  // OK is the user choosing every option anew: that is written.
  EXPECT_EQ(krx_test::ReadFileBytes(path), krx::SerializeSettings(dlg.values()));
  EXPECT_EQ(dlg.Get(krx::kThemeIndex), 3);
}

TEST_F(ConfigDialogTest, ChangePasswordAndHelpOpenTheirWindows) {
  HWND seenOwner = nullptr;
  int seenTheme = 0;
  dlg.SetThemeIndex(6);
  dlg.SetChangePasswordAction([&](HWND owner, int theme) {
    seenOwner = owner;
    seenTheme = theme;
  });
  bool helpShown = false;
  RunDialog(dlg, [&] {
    Press(GetDlgItem(dlg.m_hWnd, krx::kChangePasswordId));
    EXPECT_EQ(seenOwner, dlg.m_hWnd);
    EXPECT_EQ(seenTheme, 6);
    Press(GetDlgItem(dlg.m_hWnd, krx::kConfigHelpId));
    PumpMessages();
    helpShown = FindWindowA("HH Parent", nullptr) != nullptr;
    krx::CloseAllHelp();
    Press(GetDlgItem(dlg.m_hWnd, IDCANCEL));
  });
  EXPECT_TRUE(helpShown);
}

// True when column x of the window's client area, rows [top, bottom), holds
// a pixel unlike its top one: a text running into that column.
bool InkInColumn(HWND hwnd, int x, int top, int bottom) {
  const COLORREF paper = krx_test::ClientPixel(hwnd, x, top);
  for (int y = top + 1; y < bottom; ++y)
    if (krx_test::ClientPixel(hwnd, x, y) != paper) return true;
  return false;
}

// Every label of a box and every choice of a hotkey list ends inside its
// control: nothing is cut at the control's edge or under the list's arrow.
TEST_F(ConfigDialogTest, EveryLabelAndChoiceEndsInsideItsControl) {
  dlg.Set(krx::kPauseModifier, VK_CONTROL);
  RunDialog(dlg, [&] {
    UpdateWindow(dlg.m_hWnd);
    PumpMessages();
    int boxes = 0, lists = 0;
    for (HWND h : OwnControls(dlg)) {
      RECT r;
      GetClientRect(h, &r);
      if (dynamic_cast<krx::CMacGlyphButton*>(krx::CWnd::FromHandle(h))) {
        ++boxes;
        EXPECT_FALSE(InkInColumn(h, r.right - 1, 0, r.bottom)) << TextOf(h);
      } else if (ClassOf(h) == "ComboBox") {
        ++lists;
        COMBOBOXINFO info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetComboBoxInfo(h, &info));
        const RECT& field = info.rcItem;
        char text[32] = {};
        GetWindowTextA(h, text, sizeof text);
        EXPECT_FALSE(InkInColumn(h, field.right - 1, field.top, field.bottom)) << text;
        // Every choice, measured in the list's own font, fits the field
        // with a blank pixel or two on either side, whatever is chosen now.
        HDC dc = GetDC(h);
        HGDIOBJ was = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(h, WM_GETFONT, 0, 0)));
        const int count = int(SendMessageA(h, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
          char choice[32] = {};
          SendMessageA(h, CB_GETLBTEXT, WPARAM(i), LPARAM(choice));
          SIZE size = {};
          GetTextExtentPoint32A(dc, choice, int(strlen(choice)), &size);
          EXPECT_LE(size.cx + 6, field.right - field.left) << choice;
        }
        SelectObject(dc, was);
        ReleaseDC(h, dc);
      }
    }
    EXPECT_EQ(boxes, 23);
    EXPECT_EQ(lists, 3);
    dlg.EndDialog(IDCANCEL);
  });
}

// Pictures for a person to look at; written only when KRX_SCREENSHOT_DIR is set.
TEST_F(ConfigDialogTest, ScreenshotsInTwoThemes) {
  const std::string out = ScreenshotFolder();
  if (out.empty()) GTEST_SKIP() << "KRX_SCREENSHOT_DIR not set";
  for (int theme : {1, 3}) {
    CConfigDlg shown;
    shown.SetConfigPath(folder / "KRX.cfg");
    shown.SetThemeIndex(theme);
    shown.Set(krx::kFlashKey, 123);
    RunDialog(shown, [&] {
      UpdateWindow(shown.m_hWnd);
      PumpMessages();
      EXPECT_TRUE(krx_test::SaveWindowPng(shown.m_hWnd, out + (theme == 1 ? "config_sky.png" : "config_orange.png")));
      shown.EndDialog(IDCANCEL);
    });
  }
}
