// Flash, pictures and media of the page the real add-on is sited on: a
// flash file recorded by its copy in the browser's cache, a page's flash
// objects recorded by address, and the hotkeys that hide flash and GIF
// pictures.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <wininet.h>

#include <string>
#include <vector>

#include "addon/addon_host_fixture_win32.h"
#include "addon/fake_page_win32.h"
#include "addon/test_browser_win32.h"

namespace {

using krx_test::AddonHost;
using krx_test::AllDayText;
using krx_test::kTop;
using krx_test::kTopTitle;
using krx_test::Line;
using krx_test::TestBrowser;

TEST_F(AddonHost, AFlashFileInTheBrowsersCacheIsRecordedByItsLocalCopy) {
  const char* url = "http://www.example.com/media/cached.swf";
  char local[MAX_PATH] = {};
  ASSERT_TRUE(CreateUrlCacheEntryA(url, 0, "swf", local, 0));
  krx_test::WriteFileBytes(local, "FWS flash bytes");
  FILETIME none = {0, 0};
  ASSERT_TRUE(CommitUrlCacheEntryA(url, local, none, none, NORMAL_CACHE_ENTRY, nullptr, 0, nullptr, nullptr));
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(url, "cached.swf");
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  browser->FireDocumentComplete(browser->dispatch(), url);
  GetLocalTime(&after);
  const std::string text = AllDayText(folder_.tmp(), "fla");
  EXPECT_TRUE(text == Line(before, url, local) || text == Line(after, url, local)) << text;
  addon->SetSite(nullptr);
  addon->Release();
  browser->Release();
  DeleteUrlCacheEntryA(url);
}

// A page of the news site: flash as EMBED and as OBJECT (with the EMBED
// that pages nest in it for other browsers), a GIF and a photo, a movie.
krx_test::FakeDocument* NewsPage(std::vector<krx_test::FakeElement*>& flash, std::vector<krx_test::FakeElement*>& gifs,
                                 std::vector<krx_test::FakeElement*>& others) {
  using krx_test::FakeElement;
  auto* intro = new FakeElement("EMBED", {{"src", "media/intro.swf"}});
  auto* nested = new FakeElement("EMBED", {{"src", "/flash/banner.swf"}, {"type", "application/x-shockwave-flash"}});
  auto* object = new FakeElement("OBJECT", {{"classid", "clsid:D27CDB6E-AE6D-11cf-96B8-444553540000"}},
                                 {new FakeElement("PARAM", {{"name", "quality"}, {"value", "high"}}),
                                  new FakeElement("PARAM", {{"name", "Movie"}, {"value", "/flash/banner.swf"}})});
  auto* gif = new FakeElement("IMG", {{"src", "anim.gif"}});
  auto* photo = new FakeElement("IMG", {{"src", "photo.jpg"}});
  auto* movie = new FakeElement("EMBED", {{"src", "clip.mov"}, {"type", "video/quicktime"}});
  flash = {intro, nested, object};
  gifs = {gif};
  others = {photo, movie};
  return new krx_test::FakeDocument({intro, object, nested, gif, photo, movie});
}

// Keys as the keyboard gives them, to the window that has the focus: a
// window of this thread, as a browser window's keys go to its thread.
class KeyboardWindow {
 public:
  KeyboardWindow() {
    window_ = CreateWindowExA(0, "STATIC", "keys", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                              nullptr);
    // Keys go to the foreground window's focus: wait until this window is
    // both, or the first key may still go elsewhere on a busy machine.
    for (int i = 0; i < 500 && !(GetForegroundWindow() == window_ && GetFocus() == window_); ++i) {
      SetForegroundWindow(window_);
      SetFocus(window_);
      Pump();
    }
  }
  ~KeyboardWindow() { DestroyWindow(window_); }
  void Press(BYTE key, bool ctrl) {
    if (ctrl) keybd_event(VK_CONTROL, 0, 0, 0);
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    if (ctrl) keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    Pump();
  }
  HWND window() const { return window_; }

 private:
  static void Pump() {
    for (int i = 0; i < 20; ++i) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
      Sleep(10);
    }
  }
  HWND window_;
};

std::vector<std::string> Visibilities(const std::vector<krx_test::FakeElement*>& elements) {
  std::vector<std::string> out;
  for (auto* e : elements) out.push_back(e->visibility());
  return out;
}

TEST_F(AddonHost, APagesFlashObjectsAreRecordedAndItsHotkeysHideThem) {
  krx::SettingValues options = krx::kDefaultSettings;
  options[krx::kGifKey] = VK_F8;  // the flash key stays F9
  WriteOptions(options);
  std::vector<krx_test::FakeElement*> flash, gifs, others;
  krx_test::FakeDocument* page = NewsPage(flash, gifs, others);
  IObjectWithSite* addon = CreateAddon();
  TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
  browser->SetDocument(page);
  ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);

  // Each flash file of the page once, by its full address (none is cached).
  SYSTEMTIME before, after;
  GetLocalTime(&before);
  browser->FireDocumentComplete(browser->dispatch(), kTop);
  GetLocalTime(&after);
  const std::string intro = "http://news.example.com/media/intro.swf";
  const std::string banner = "http://news.example.com/flash/banner.swf";
  const std::string text = AllDayText(folder_.tmp(), "fla");
  EXPECT_TRUE(text == Line(before, kTop, intro) + Line(before, kTop, banner) ||
              text == Line(after, kTop, intro) + Line(after, kTop, banner) ||
              text == Line(before, kTop, intro) + Line(after, kTop, banner))
      << text;
  // The movie the page plays: its address and the page's title.
  const std::string clip = "http://news.example.com/clip.mov", media = AllDayText(folder_.tmp(), "mms");
  EXPECT_TRUE(media == Line(before, clip, kTopTitle) || media == Line(after, clip, kTopTitle)) << media;
  // Only the tags that can hold flash or media are walked, and a name is
  // looked up on the first element of a tag only.
  for (auto* picture : {gifs[0], others[0]}) EXPECT_EQ(picture->calls(), 0);
  EXPECT_GT(flash[0]->lookups(), 0);
  EXPECT_EQ(flash[1]->lookups() + others[1]->lookups(), 0);  // the EMBEDs after it

  // CTRL with the flash key hides the flash objects, again shows them; the
  // GIF key does the same for the GIF pictures. Nothing else changes.
  KeyboardWindow keys;
  const std::vector<std::string> shown(3, ""), hidden(3, "hidden");
  keys.Press(VK_F9, false);
  EXPECT_EQ(Visibilities(flash), shown);
  keys.Press(VK_F9, true);
  EXPECT_EQ(Visibilities(flash), hidden);
  EXPECT_EQ(Visibilities(gifs), std::vector<std::string>{""});
  keys.Press(VK_F8, true);
  EXPECT_EQ(Visibilities(gifs), std::vector<std::string>{"hidden"});
  keys.Press(VK_F9, true);
  EXPECT_EQ(Visibilities(flash), shown);
  EXPECT_EQ(Visibilities(gifs), std::vector<std::string>{"hidden"});
  EXPECT_EQ(Visibilities(others), std::vector<std::string>(2, ""));  // the photo and the movie

  // Unsited, the window's keys are its own again.
  ASSERT_EQ(addon->SetSite(nullptr), S_OK);
  keys.Press(VK_F9, true);
  EXPECT_EQ(Visibilities(flash), shown);
  addon->Release();
  browser->Release();
  page->Release();
}

}  // namespace
