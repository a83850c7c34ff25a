// The events of a browser window, with the arguments Internet Explorer
// passes, and what the real add-on makes of them under the options of
// KRX.cfg: forbidden addresses stopped, popups blocked, visits, flash and
// media recorded. Checked where it shows: the Cancel it returns, the
// status bar text and the day files byte for byte.
#include <windows.h>
#include <ocidl.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "addon/addon_host_fixture_win32.h"
#include "addon/test_browser_win32.h"
#include "records/file_io.h"

namespace {

using krx_test::AddonHost;
using krx_test::AllDayText;
using krx_test::ClearDayFiles;
using krx_test::DayFileName;
using krx_test::kClick;
using krx_test::kNone;
using krx_test::kTop;
using krx_test::kTopTitle;
using krx_test::kUnloading;
using krx_test::kUserInitiated;
using krx_test::kUserRequested;
using krx_test::Line;
using krx_test::TestBrowser;
using krx_test::WaitUntil;

const char kForbiddenText[] = "Kestrelix stopped a forbidden address: ";
const char kBlockedText[] = "Kestrelix blocked a popup window: ";

void HoldKey(int vk, bool down) {
  BYTE keys[256];
  GetKeyboardState(keys);
  keys[vk] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

enum class Event {
  kNavigate,
  kNavigateFrame,
  kNewWindow3,
  kNewWindow2,
  kNewWindow2WithoutNewWindow3,  // a browser whose type library has no NewWindow3
  kNewWindow2BeforeNewWindow3,   // one whose type library has it
  kQuitThenNewWindow3,
  // NavigateComplete2, then DocumentComplete of the address, then of the
  // page the add-on sent the window (or frame) to in its place, if it did.
  kArrive,
  kArriveFrame,
  // A redirect to the address, the page sent in its place cancelled by
  // another handler, and then a blank page of the user's own completing.
  kArriveStopPageCancelled,
  kDocument,
  kDocumentFrame,
};

struct Case {
  const char* what;
  std::vector<std::pair<krx::Setting, int>> options;  // beside the defaults
  Event event;
  const char* url;
  const char* opener;  // NewWindow3's context
  long flags;
  int heldKey;  // 0, VK_CONTROL or VK_MENU
  bool cancel;
  const char* status;     // the status bar text after the prefix, "" for none
  const char* extension;  // the day file written, "" for none
  const char* address;
  const char* tail;
  const char* extension2 = "";  // a second day file written by the same event
  const char* address2 = "";
  const char* tail2 = "";
  UINT codePage = 0;  // the system code page the row needs (its bytes), 0 for any
};

const char kFrameTitle[] = "Advertising frame";

// An address of 4,117 bytes in the Japanese code page (932), where "\u30bd"
// is 0x83 0x5C: its lead byte at 4,095 leaves the cut at 4,095 bytes.
std::string Repeated(const char* text, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}
const std::string kLongKana = "http://dbcs.example/x" + Repeated("\u30bd", 2048);
const std::string kLongKanaCut = "http://dbcs.example/x" + Repeated("\x83\x5c", 2037);
// A label longer than the 63 bytes any host's label may have, and one of
// 20,000 characters.
const std::string kLongLabel = "http://" + Repeated("\u00fc", 64) + ".example/";
const std::string kHugeLabel = "http://" + Repeated("\u00fc", 20000) + ".example/";

// The events of a browser window and what the add-on makes of them under
// the options of KRX.cfg. The white list holds the friends' site, the
// forbidden list a domain and one address.
const Case kCases[] = {
    {"forbidden domain", {}, Event::kNavigate, "http://bad.example.com/index.html", "", kNone, 0, true,
     "http://bad.example.com/index.html", "", "", ""},
    {"its sub-domain", {}, Event::kNavigate, "http://WWW.Bad.Example.com:8080/x", "", kNone, 0, true,
     "http://WWW.Bad.Example.com:8080/x", "", "", ""},
    {"a frame's navigation", {}, Event::kNavigateFrame, "http://bad.example.com/ad.html", "", kNone, 0, true,
     "http://bad.example.com/ad.html", "", "", ""},
    {"an allowed address", {}, Event::kNavigate, "http://good.example.com/", "", kNone, 0, false, "", "", "", ""},
    {"a look-alike host", {}, Event::kNavigate, "http://notbad.example.com/", "", kNone, 0, false, "", "", "", ""},
    // The browser's addresses in UTF-16, here in UTF-8; the lists in the Western code page.
    {"an international host in either form", {}, Event::kNavigate, "http://B\u00dcCHER.example/x", "", kNone, 0, true,
     "http://xn--bcher-kva.example/x", "", "", "", "", "", "", 1252},
    // The system's own conversion folds what the encoder alone would not.
    {"an international host decomposed", {}, Event::kNavigate, "http://bu\u0308cher.example/x", "", kNone, 0, true,
     "http://xn--bcher-kva.example/x", "", "", "", "", "", "", 1252},
    {"a host in full-width letters", {}, Event::kNavigate, "http://\uff22\uff41\uff44.example.com/", "", kNone, 0,
     true, "http://bad.example.com/", "", "", ""},
    {"a host no real host can be (a label over 63 bytes)", {}, Event::kNavigate, kLongLabel.c_str(), "", kNone, 0,
     true, kLongLabel.c_str(), "", "", "", "", "", "", 1252},
    {"a label of 20,000 characters", {}, Event::kNavigate, kHugeLabel.c_str(), "", kNone, 0, true,
     kHugeLabel.c_str(), "", "", "", "", "", "", 1252},
    {"a look-alike of the code page (best fit)", {}, Event::kNavigate, "http://b\u0101d.example.com/", "", kNone, 0,
     false, "", "", "", ""},
    {"a host the code page shows as \"??????\"", {}, Event::kNavigate,
     "http://\u0434\u0435\u0440\u0435\u0432\u043e.example/", "", kNone, 0, false, "", "", "", ""},
    {"a visit to a host and page outside the code page", {}, Event::kDocument,
     "http://\u0434\u0435\u0440\u0435\u0432\u043e.example/\u00e9t\u00e9/\u043b\u0438\u0441\u0442", "", kNone, 0,
     false, "", "vis", "http://xn--b1adda0cj.example/\xe9t\xe9/%D0%BB%D0%B8%D1%81%D1%82", kTopTitle, "", "", "", 1252},
    {"a long address cut before a double-byte character", {}, Event::kDocument, kLongKana.c_str(), "", kNone, 0, false,
     "", "vis", kLongKanaCut.c_str(), kTopTitle, "", "", "", 932},
    {"no status message (row 22 off)", {{krx::kForbiddenStatusMessage, 0}}, Event::kNavigate,
     "http://bad.example.com/", "", kNone, 0, true, "", "", "", ""},
    {"forbidden list excluded (row 24)", {{krx::kExcludeForbidden, 1}}, Event::kNavigate, "http://bad.example.com/",
     "", kNone, 0, false, "", "", "", ""},
    {"domain match takes the address entry's host", {}, Event::kNavigate, "http://www.example.net/other.html", "",
     kNone, 0, true, "http://www.example.net/other.html", "", "", ""},
    {"address match: the address itself", {{krx::kMatchDomain, 0}}, Event::kNavigate,
     "http://www.example.net/private/page.html", "", kNone, 0, true, "http://www.example.net/private/page.html", "",
     "", ""},
    {"address match: another page of that host", {{krx::kMatchDomain, 0}}, Event::kNavigate,
     "http://www.example.net/other.html", "", kNone, 0, false, "", "", "", ""},

    {"a popup", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kNone, 0, true,
     "http://ads.example.net/pop.html", "blc", kTop, "http://ads.example.net/pop.html"},
    {"a popup from the user's click", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kClick, 0,
     false, "", "", "", ""},
    {"a second popup of the same click", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop,
     kUserInitiated, 0, true, "http://ads.example.net/pop.html", "blc", kTop, "http://ads.example.net/pop.html"},
    {"a window the user asked for", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kUserRequested, 0,
     false, "", "", "", ""},
    {"a popup to a white-listed site", {}, Event::kNewWindow3, "http://friends.example.org/pop.html", kTop, kNone, 0,
     true, "http://friends.example.org/pop.html", "blc", kTop, "http://friends.example.org/pop.html"},
    {"Kestrelix turned off (row 17): popups", {{krx::kAddOnEnabled, 0}}, Event::kNewWindow3,
     "http://ads.example.net/pop.html", kTop, kNone, 0, false, "", "", "", ""},
    {"a popup from a white-listed page", {}, Event::kNewWindow3, "http://ads.example.net/pop.html",
     "http://friends.example.org/", kNone, 0, false, "", "", "", ""},
    {"popup blocking off (row 1)", {{krx::kPopupBlocking, 0}}, Event::kNewWindow3, "http://ads.example.net/pop.html",
     kTop, kNone, 0, false, "", "", "", ""},
    {"CTRL held pauses blocking", {}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kNone, VK_CONTROL,
     false, "", "", "", ""},
    {"CTRL held when ALT is the key (row 7)", {{krx::kPauseModifier, 18}}, Event::kNewWindow3,
     "http://ads.example.net/pop.html", kTop, kNone, VK_CONTROL, true, "http://ads.example.net/pop.html", "blc",
     kTop, "http://ads.example.net/pop.html"},
    {"ALT held when ALT is the key", {{krx::kPauseModifier, 18}}, Event::kNewWindow3,
     "http://ads.example.net/pop.html", kTop, kNone, VK_MENU, false, "", "", "", ""},
    {"no block log (row 2)", {{krx::kBlockLog, 0}}, Event::kNewWindow3, "http://ads.example.net/pop.html", kTop, kNone,
     0, true, "http://ads.example.net/pop.html", "", "", ""},
    {"no block message (row 8)", {{krx::kBlockStatusMessage, 0}, {krx::kBlockSound, 0}}, Event::kNewWindow3,
     "http://ads.example.net/pop.html", kTop, kNone, 0, true, "", "blc", kTop, "http://ads.example.net/pop.html"},
    {"a popup while the page unloads (row 20 on)", {}, Event::kNewWindow3, "http://ads.example.net/bye.html", kTop,
     kUnloading, 0, true, "http://ads.example.net/bye.html", "blc", kTop, "http://ads.example.net/bye.html"},
    {"a popup while the page unloads (row 20 off)", {{krx::kCheckOnClose, 0}}, Event::kNewWindow3,
     "http://ads.example.net/bye.html", kTop, kUnloading, 0, false, "", "", "", ""},
    {"a popup after the browser quit (row 20 off)", {{krx::kCheckOnClose, 0}}, Event::kQuitThenNewWindow3,
     "http://ads.example.net/bye.html", kTop, kNone, 0, false, "", "", "", ""},
    {"a popup after the browser quit (row 20 on)", {}, Event::kQuitThenNewWindow3, "http://ads.example.net/bye.html",
     kTop, kNone, 0, true, "http://ads.example.net/bye.html", "blc", kTop, "http://ads.example.net/bye.html"},
    {"NewWindow2 leaves the decision to NewWindow3", {}, Event::kNewWindow2, "", "", kNone, 0, false, "", "", "", ""},
    {"NewWindow2 of a browser that has NewWindow3", {}, Event::kNewWindow2BeforeNewWindow3, "", "", kNone, 0, false, "",
     "", "", ""},
    {"NewWindow2 of a browser without NewWindow3", {}, Event::kNewWindow2WithoutNewWindow3, "", "", kNone, 0, true,
     kTop, "blc", kTop, ""},

    {"a page in the top window", {}, Event::kDocument, kTop, "", kNone, 0, false, "", "vis", kTop, kTopTitle},
    {"a frame (detailed log, row 25)", {}, Event::kDocumentFrame, "http://ads.example.net/frame.html", "", kNone, 0,
     false, "", "vis", "http://ads.example.net/frame.html", kFrameTitle},
    {"a frame without the detailed log", {{krx::kDetailedVisitLog, 0}}, Event::kDocumentFrame,
     "http://ads.example.net/frame.html", "", kNone, 0, false, "", "", "", ""},
    {"no visit log (row 3)", {{krx::kVisitLog, 0}}, Event::kDocument, kTop, "", kNone, 0, false, "", "", "", ""},
    {"Kestrelix turned off (row 17): visits", {{krx::kAddOnEnabled, 0}}, Event::kDocument, kTop, "", kNone, 0, false,
     "", "", "", ""},

    // A server's redirect fires no BeforeNavigate2: the address arrives with
    // NavigateComplete2 (cancel: the window was stopped and sent away).
    {"redirected to a forbidden page", {}, Event::kArrive, "http://bad.example.com/landing.html", "", kNone, 0, true,
     "http://bad.example.com/landing.html", "", "", ""},
    {"a frame redirected to a forbidden page", {{krx::kForbiddenStatusMessage, 0}}, Event::kArriveFrame,
     "http://bad.example.com/ad.html", "", kNone, 0, true, "", "", "", ""},
    {"the page sent in its place cancelled: a later blank page is a visit", {}, Event::kArriveStopPageCancelled,
     "http://bad.example.com/landing.html", "", kNone, 0, true, "http://bad.example.com/landing.html", "vis",
     "about:blank", kTopTitle},
    {"redirected to an allowed page", {}, Event::kArrive, kTop, "", kNone, 0, false, "", "vis", kTop, kTopTitle},
    {"Kestrelix turned off (row 17): the forbidden list", {{krx::kAddOnEnabled, 0}}, Event::kArrive,
     "http://bad.example.com/landing.html", "", kNone, 0, false, "", "", "", ""},

    {"a movie followed as a link", {}, Event::kNavigate, "http://media.example.com/news/Morning.WMV", "", kNone, 0,
     false, "", "mms", "http://media.example.com/news/Morning.WMV", kTopTitle},
    {"a stream", {}, Event::kNavigate, "mms://media.example.com/live", "", kNone, 0, false, "", "mms",
     "mms://media.example.com/live", kTopTitle},
    {"no media log (row 23)", {{krx::kMediaLog, 0}}, Event::kNavigate, "http://media.example.com/news/morning.wmv", "",
     kNone, 0, false, "", "", "", ""},
    {"a forbidden movie", {}, Event::kNavigate, "http://bad.example.com/film.avi", "", kNone, 0, true,
     "http://bad.example.com/film.avi", "", "", ""},
    {"a flash file in a frame", {}, Event::kDocumentFrame, "http://www.example.com/media/intro.swf", "", kNone, 0,
     false,
     "", "fla", kTop, "http://www.example.com/media/intro.swf", "vis", "http://www.example.com/media/intro.swf",
     kFrameTitle},
    {"a flash file in the top window", {{krx::kVisitLog, 0}}, Event::kDocument, "http://www.example.com/game.swf", "",
     kNone, 0, false, "", "fla", "http://www.example.com/game.swf", "http://www.example.com/game.swf"},
    {"a flash file on a network share", {{krx::kVisitLog, 0}}, Event::kDocument, "\\\\server\\share\\game.swf", "",
     kNone, 0, false, "", "", "", ""},
    {"a flash file of a file: address", {{krx::kVisitLog, 0}}, Event::kDocument, "file://server/share/game.swf", "",
     kNone, 0, false, "", "", "", ""},
    {"no flash log (row 4)", {{krx::kFlashLog, 0}, {krx::kVisitLog, 0}}, Event::kDocument,
     "http://www.example.com/game.swf", "", kNone, 0, false, "", "", "", ""},
};

TEST_F(AddonHost, ActsOnTheBrowsersEventsAsTheOptionsSay) {
  WriteList("white.log", {"http://friends.example.org/"});
  WriteList("forbid.log", {"bad.example.com", "http://www.example.net/private/page.html", "b\xfc" "cher.example",
                           "http://??????.example/"});  // what an older log showed for a Cyrillic host
  IObjectWithSite* addon = CreateAddon();
  ASSERT_NE(addon, nullptr);
  // The lists are read off the window's thread; the table starts once the
  // process has them.
  TestBrowser* first = new TestBrowser(kTop, kTopTitle);
  ASSERT_EQ(addon->SetSite(first->unknown()), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return first->FireBeforeNavigate2(first->dispatch(), "http://bad.example.com/"); }));
  ASSERT_EQ(addon->SetSite(nullptr), S_OK);
  first->Release();
  TestBrowser* frame = new TestBrowser("http://ads.example.net/frame.html", kFrameTitle);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    if (c.codePage && c.codePage != GetACP()) continue;
    krx::SettingValues options = krx::kDefaultSettings;
    for (auto& o : c.options) options[o.first] = o.second;
    WriteOptions(options);
    ClearDayFiles(folder_.tmp());
    // A new window of the browser: the add-on is sited and reads the files.
    TestBrowser* browser = new TestBrowser(kTop, kTopTitle);
    ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
    if (c.heldKey) HoldKey(c.heldKey, true);

    SYSTEMTIME before, after;
    GetLocalTime(&before);
    bool cancel = false;
    const size_t frameCalls = frame->calls().size();
    auto arrive = [&](TestBrowser* window) {
      browser->FireNavigateComplete2(window->dispatch(), c.url);
      browser->FireDocumentComplete(window->dispatch(), c.url);
      cancel = window->calls().size() > (window == frame ? frameCalls : 0);
      if (cancel) browser->FireDocumentComplete(window->dispatch(), "about:blank");
      const std::vector<std::string> sent(window->calls().begin() + (window == frame ? frameCalls : 0),
                                          window->calls().end());
      if (cancel) {
        EXPECT_EQ(sent, std::vector<std::string>({"Stop", "Navigate2 about:blank"}));
      }
    };
    switch (c.event) {
      case Event::kNavigate: cancel = browser->FireBeforeNavigate2(browser->dispatch(), c.url); break;
      case Event::kNavigateFrame: cancel = browser->FireBeforeNavigate2(frame->dispatch(), c.url); break;
      case Event::kNewWindow3: cancel = browser->FireNewWindow3(c.flags, c.opener, c.url); break;
      case Event::kNewWindow2: cancel = browser->FireNewWindow2(); break;
      case Event::kNewWindow2WithoutNewWindow3:
      case Event::kNewWindow2BeforeNewWindow3: {
        // The add-on reads the browser's type library when it is sited.
        ITypeInfo* events = krx_test::NewBrowserEventsTypeInfo(c.event == Event::kNewWindow2BeforeNewWindow3);
        ASSERT_NE(events, nullptr);
        browser->SetTypeInfo(events);
        events->Release();
        ASSERT_EQ(addon->SetSite(browser->unknown()), S_OK);
        cancel = browser->FireNewWindow2();
        break;
      }
      case Event::kArrive: arrive(browser); break;
      case Event::kArriveFrame: arrive(frame); break;
      case Event::kArriveStopPageCancelled:
        browser->FireNavigateComplete2(browser->dispatch(), c.url);
        cancel = !browser->calls().empty();
        browser->FireBeforeNavigate2(browser->dispatch(), "about:blank", true);
        browser->FireDocumentComplete(browser->dispatch(), "about:blank");
        break;
      case Event::kQuitThenNewWindow3:
        browser->FireQuit();
        cancel = browser->FireNewWindow3(c.flags, c.opener, c.url);
        break;
      case Event::kDocument: browser->FireDocumentComplete(browser->dispatch(), c.url); break;
      case Event::kDocumentFrame: browser->FireDocumentComplete(frame->dispatch(), c.url); break;
    }
    GetLocalTime(&after);
    if (c.heldKey) HoldKey(c.heldKey, false);

    EXPECT_EQ(cancel, c.cancel);
    std::vector<std::string> status;
    if (*c.status) {
      const bool popup = c.event != Event::kNavigate && c.event != Event::kNavigateFrame && c.event != Event::kArrive &&
                         c.event != Event::kArriveFrame && c.event != Event::kArriveStopPageCancelled;
      status.push_back(std::string(popup ? kBlockedText : kForbiddenText) + c.status);
    }
    EXPECT_EQ(browser->statusTexts(), status);
    for (const char* extension : {"vis", "blc", "fla", "mms"}) {
      const std::string text = AllDayText(folder_.tmp(), extension);
      const char *address = c.address, *tail = c.tail;
      if (std::string(extension) == c.extension2) {
        address = c.address2;
        tail = c.tail2;
      } else if (std::string(extension) != c.extension) {
        EXPECT_EQ(text, "") << extension;
        continue;
      }
      // The line carries the second it was written: before or after the event.
      const std::string early = Line(before, address, tail), late = Line(after, address, tail);
      EXPECT_TRUE(text == early || text == late) << text;
      EXPECT_TRUE(krx::FileExists(folder_.tmp() + DayFileName(after, extension)) ||
                  krx::FileExists(folder_.tmp() + DayFileName(before, extension)));
    }
    ASSERT_EQ(addon->SetSite(nullptr), S_OK);
    EXPECT_EQ(browser->references(), 1);
    browser->Release();
  }
  frame->Release();
  addon->Release();
}

}  // namespace
