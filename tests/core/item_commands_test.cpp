// Addresses read out of list lines, the Find scan, the tray and key rules
// and the update check's judgement.
#include <gtest/gtest.h>

#include <random>

#include "core/item_text.h"
#include "core/tray_rules.h"
#include "core/update_rules.h"

namespace {

struct AddressCase {
  const char* line;
  const char* log;
  const char* cache;
  const char* flash;
};

TEST(ItemText, AddressRules) {
  const AddressCase cases[] = {
      {"<07/01/2004 10:00:01> http://a.example/x - Title - more", "http://a.example/x",
       "<07/01/2004 10:00:01> http://a.example/x - Title - more", "Title - more"},
      // No " - ": nothing to visit or list; the flash file starts at the third character.
      {"<07/01/2004 10:00:01> http://a.example/x", "", "<07/01/2004 10:00:01> http://a.example/x",
       "7/01/2004 10:00:01> http://a.example/x"},
      // No '>': the first character is lost before the cut.
      {"xhttp://b.example/ - T", "http://b.example/", "xhttp://b.example/ - T", "T"},
      // A " - " only before the '>' does not end the address.
      {"a - b> http://c/", "", "a - b> http://c/", "b> http://c/"},
      {"ends>", "", "ends>", "ds>"},
      {"> - x", "", "> - x", "x"},
      {"", "", "", ""},
      {"Visited: user@http://d.example/p?q=1 - x", "isited: user@http://d.example/p?q=1", "http://d.example/p?q=1 - x", "x"},
      {"Cookie: user@e.example/@tail", "", "e.example/@tail", "okie: user@e.example/@tail"},
      {"<d t> u - ", "u", "<d t> u - ", ""},
  };
  for (const AddressCase& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(krx::LogAddress(c.line), c.log);
    EXPECT_EQ(krx::CacheAddress(c.line), c.cache);
    EXPECT_EQ(krx::FlashFile(c.line), c.flash);
  }
}

TEST(ItemText, VisitTargetsAndListAddressesByView) {
  const std::string log = "<07/01/2004 10:00:01> http://a.example/ - Title";
  const std::string cache = "Visited: user@a.example/page";
  struct Case {
    int view;
    std::string line, visit, listed;
  } cases[] = {
      {179, log, "http://a.example/", "http://a.example/"},
      {180, log, "http://a.example/", "http://a.example/"},
      {185, log, "http://a.example/", "http://a.example/"},
      {181, log, "", "http://a.example/"},
      {182, "http://w.example/", "http://w.example/", ""},
      {183, "bad.example", "bad.example", ""},
      {184, cache, "http://a.example/page", "a.example/page"},
      {184, "http://plain/", "http://plain/", "http://plain/"},
      {179, "no dash here", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.view) + " " + c.line);
    EXPECT_EQ(krx::VisitTarget(c.view, c.line), c.visit);
    EXPECT_EQ(krx::ListAddress(c.view, c.line), c.listed);
  }
}

TEST(ItemText, VisitOpensOnlyWebAndMediaAddresses) {
  using P = krx::VisitPlan;
  const std::string at = "<07/01/2004 10:00:01> ";
  struct Case {
    int view;
    std::string line;
    P::Kind kind;
    const char* target;
  } cases[] = {
      {179, at + "http://a.example/ - T", P::kOpen, "http://a.example/"},
      {180, at + "HTTPS://A.example/x - T", P::kOpen, "HTTPS://A.example/x"},
      {179, at + "Ftp://files.example/ - T", P::kOpen, "Ftp://files.example/"},
      {179, at + "  \thttp://blank.example/ - T", P::kOpen, "http://blank.example/"},  // blanks trimmed
      {185, at + "mms://media.example/a.asf - T", P::kOpen, "mms://media.example/a.asf"},
      {185, at + "RTSP://media.example/a.rm - T", P::kOpen, "RTSP://media.example/a.rm"},
      {185, at + "http://media.example/a.wmv - T", P::kOpen, "http://media.example/a.wmv"},
      {182, "http://w.example/", P::kOpen, "http://w.example/"},
      {184, "Visited: root@www.example/p", P::kOpen, "http://www.example/p"},
      {184, "Cookie:root@javascript:alert(1)", P::kOpen, "http://javascript:alert(1)"},  // a host, not a scheme
      // Media schemes only in the media view.
      {179, at + "mms://media.example/a.asf - T", P::kRefused, ""},
      {183, "rtsp://media.example/", P::kRefused, ""},
      {179, at + "file://server/share/x.exe - T", P::kRefused, ""},
      {180, at + "FILE:///C:/windows/x.exe - T", P::kRefused, ""},
      {179, at + "\\\\server\\share\\x.exe - T", P::kRefused, ""},
      {179, at + "javascript:alert(1) - T", P::kRefused, ""},
      {179, at + "JavaScript://%0aalert(1) - T", P::kRefused, ""},
      {182, "C:\\windows\\notepad.exe", P::kRefused, ""},
      {183, "bad.example", P::kRefused, ""},
      {182, "http://", P::kRefused, ""},
      {182, "httpx://a.example/", P::kRefused, ""},
      {182, "http:a.example", P::kRefused, ""},
      {182, "http://a.example/\" --new-window file:x", P::kRefused, ""},
      {182, "http://a.example/\r\nx", P::kRefused, ""},
      {184, "about:blank", P::kRefused, ""},
      // Nothing to open: silent.
      {179, at + "http://no.dash.example/", P::kNoLine, ""},
      {182, "   ", P::kNoLine, ""},
      {181, at + "http://a.example/ - C:\\f.swf", P::kNoLine, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.view) + " " + c.line);
    const P plan = krx::PlanVisit(c.view, c.line);
    EXPECT_EQ(plan.kind, c.kind);
    EXPECT_EQ(plan.target, c.target);
  }
  EXPECT_STREQ(krx::VisitRefusedText(179), "The line holds no web address.");
  EXPECT_STREQ(krx::VisitRefusedText(185), "The line holds no web or media address.");
}

TEST(ItemText, TheFlashViewPlaysAndSavesOnlyLocalFilesAndWebAddresses) {
  using S = krx::FlashSource;
  const struct {
    const char* file;
    S source;
    const char* saveName;
  } cases[] = {
      {"C:\\Documents and Settings\\u\\Temporary Internet Files\\Content.IE5\\AB12\\intro[1].swf", S::kLocalFile,
       "intro.swf"},
      {" d:/flash/game.swf ", S::kLocalFile, "game.swf"},
      {"C:\\f[x].swf", S::kLocalFile, "f[x].swf"},
      {"http://www.example.com/media/intro.swf?v=2#top", S::kWebAddress, "intro.swf"},
      {"FTP://files.example/a[12].swf", S::kWebAddress, "a.swf"},
      {"\\\\server\\share\\movie.swf", S::kRefused, "movie.swf"},
      {"//server/share/movie.swf", S::kRefused, "movie.swf"},
      {"file://server/share/movie.swf", S::kRefused, "movie.swf"},
      {"file:///C:/flash/movie.swf", S::kRefused, "movie.swf"},
      {"C:movie.swf", S::kRefused, "C:movie.swf"},  // relative to the drive's current folder
      {"", S::kNothing, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(krx::FlashSourceOf(c.file), c.source);
    EXPECT_EQ(krx::FlashSaveName(c.file), c.saveName);
  }
}

TEST(ItemText, ListViewsDeleteAndUpdateEveryEqualCopy) {
  using V = std::vector<std::string>;
  struct Case {
    int view;
    V collection, lines, after;
  } deletes[] = {
      {182, {"a", "b", "a", "c", "a"}, {"a"}, {"b", "c"}},
      {183, {"x", "y", "x"}, {"x", "y"}, {}},
      {182, {"a", "A"}, {"a"}, {"A"}},  // case counts
      {182, {"a"}, {"z"}, {"a"}},
      // A log keeps repeated records apart: one line takes one record.
      {179, {"l1", "l2", "l1"}, {"l1"}, {"l2", "l1"}},
      {185, {"m", "m", "m"}, {"m", "m"}, {"m"}},
  };
  for (const Case& c : deletes) {
    V collection = c.collection;
    krx::RemoveDeletedLines(c.view, collection, c.lines);
    EXPECT_EQ(collection, c.after) << c.view;
  }
  struct Update {
    V list;
    const char *old, *replacement;
    V after;
  } updates[] = {
      {{"a", "b", "a"}, "a", "n", {"b", "n"}},
      {{"a", "a"}, "a", "a", {"a"}},
      {{"b"}, "gone", "n", {"b", "n"}},
  };
  for (const Update& u : updates) {
    V list = u.list;
    krx::ReplaceListEntry(list, u.old, u.replacement);
    EXPECT_EQ(list, u.after) << u.old;
  }
}

// The plain rule: one search from the front per text.
void RemoveFirstReference(std::vector<std::string>& array, const std::vector<std::string>& texts) {
  for (const std::string& t : texts) {
    for (auto it = array.begin(); it != array.end(); ++it) {
      if (*it == t) {
        array.erase(it);
        break;
      }
    }
  }
}

TEST(ItemText, RemoveFirstOfEachMatchesOneRemovalPerText) {
  std::mt19937 random(7);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::string> array, texts;
    int size = int(random() % 12);
    for (int i = 0; i < size; ++i) array.push_back(std::string(1, char('a' + random() % 4)));
    int count = int(random() % 6);
    for (int i = 0; i < count; ++i) texts.push_back(std::string(1, char('a' + random() % 5)));
    std::vector<std::string> want = array;
    RemoveFirstReference(want, texts);
    krx::RemoveFirstOfEach(array, texts);
    EXPECT_EQ(array, want);
  }
}

TEST(ItemText, LowerAnsiFollowsTheWesternCodePage) {
  EXPECT_EQ(krx::LowerAnsi("ABC xyz 09 @[`{"), "abc xyz 09 @[`{");
  EXPECT_EQ(krx::LowerAnsi("\xC0\xC9\xD6\xD7\xD8\xDE\xDF\x8A\x9F"), "\xE0\xE9\xF6\xD7\xF8\xFE\xDF\x9A\xFF");
}

TEST(FindScan, StepsWrapsAndFollowsTheCaseSetting) {
  using K = krx::FindResult;
  const std::vector<std::string> lines = {"abc one", "xyz", "ABC two", "abc three"};
  struct Case {
    const char* text;
    int focused;
    int caseSetting;
    K::Kind kind;
    int line;
  } cases[] = {
      {"abc", -1, 0, K::kNext, 2},      // no focus: line 0 is the start and never "next"
      {"abc", 0, 0, K::kNext, 2},
      {"abc", 2, 0, K::kNext, 3},
      {"abc", 3, 0, K::kAskWrap, 0},    // only at or before the focused line
      {"ABC", 0, 0, K::kNext, 2},       // case ignored by default
      {"abc", 0, 1, K::kNext, 3},       // case-sensitive setting
      {"ABC", 0, 1, K::kNext, 2},
      {"ABC", 2, 1, K::kAskWrap, 2},    // the one match is the focused line
      {"abc", 0, 2, K::kNext, 2},       // only exactly 1 keeps the case
      {"xyz", 1, 0, K::kAskWrap, 1},
      {"nothing", 0, 0, K::kNotFound, -1},
      {"abc", 9, 0, K::kAskWrap, 0},    // a focus past the end still scans all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.text) + " from " + std::to_string(c.focused));
    krx::FindResult r = krx::FindNext(lines, c.text, c.focused, c.caseSetting);
    EXPECT_EQ(r.kind, c.kind);
    EXPECT_EQ(r.line, c.line);
  }
  // A single matching first line with nothing focused asks too.
  EXPECT_EQ(krx::FindNext({"abc", "x"}, "abc", -1, 0).kind, K::kAskWrap);
  EXPECT_EQ(krx::FindNext({}, "abc", -1, 0).kind, K::kNotFound);
}

TEST(FindScan, StopsReadingAtTheNextMatch) {
  int read = 0;
  krx::FindResult r = krx::FindNext(
      1000000, [&read](int i) { ++read; return i == 5 ? std::string("hit") : std::string("miss"); }, "hit", 0, 0);
  EXPECT_EQ(r.line, 5);
  EXPECT_EQ(read, 6);
}

TEST(FindScan, LineMatcherComparesAsLowerAnsi) {
  struct Case { const char* line; const char* text; int caseSetting; bool match; };
  const Case cases[] = {
      {"http://Example.COM/a", "example.com", 0, true},
      {"http://Example.COM/a", "example.com", 1, false},
      {"caf\xC9 au lait", "caf\xE9", 0, true},     // accented capitals fold too
      {"ab", "abc", 0, false},                     // text longer than the line
      {"aab", "ab", 0, true},                      // a partial match restarts
      {"anything", "", 0, true},
      {"", "", 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line) + " / " + c.text);
    EXPECT_EQ(krx::LineMatcher(c.text, c.caseSetting)(c.line), c.match);
  }
}

TEST(TrayRules, TipAndKeys) {
  auto tip = krx::TrayTip("Kestrelix");
  EXPECT_STREQ(tip.data(), "Kestrelix");
  EXPECT_STREQ(krx::TrayTip(std::string(63, 'x')).data(), std::string(63, 'x').c_str());
  EXPECT_STREQ(krx::TrayTip(std::string(64, 'x')).data(), "");
  EXPECT_STREQ(krx::TrayTip("").data(), "");
  EXPECT_EQ(krx::TrayTip(std::string(63, 'x'))[63], '\0');

  using K = krx::WindowKey;
  EXPECT_EQ(krx::KeyCommand(0x72, false), K::kFind);
  EXPECT_EQ(krx::KeyCommand(0x74, false), K::kRefresh);
  EXPECT_EQ(krx::KeyCommand(0x76, false), K::kStatistics);
  EXPECT_EQ(krx::KeyCommand(0x2E, true), K::kDelete);
  EXPECT_EQ(krx::KeyCommand(0x2E, false), K::kNone);  // the input box edits its text
  EXPECT_EQ(krx::KeyCommand(0x70, true), K::kNone);   // F1 goes to the dialog's help
  EXPECT_EQ(krx::KeyCommand(0x1B, true), K::kNone);
  EXPECT_EQ(krx::KeyCommand(0x72, false, true), K::kFindAllDays);
  EXPECT_EQ(krx::KeyCommand(0x72, true, true), K::kFindAllDays);
  // Enter in the input box.
  for (int view : {179, 180, 181, 185}) EXPECT_EQ(krx::InputBoxEnterCommand(view), K::kFind) << view;
  for (int view : {182, 183}) EXPECT_EQ(krx::InputBoxEnterCommand(view), K::kAddNewItem) << view;
  for (int view : {184, 0}) EXPECT_EQ(krx::InputBoxEnterCommand(view), K::kNone) << view;
}

TEST(UpdateRules, HostsPiecesAndVerdicts) {
  struct HostCase {
    const char* in;
    bool ok;
    const char* host;
    unsigned port;
  } hosts[] = {
      {"www.marrowin.com", true, "www.marrowin.com", 80}, {"127.0.0.1:8080", true, "127.0.0.1", 8080},
      {"h:65535", true, "h", 65535}, {"h:0", false, "h", 80}, {"h:65536", false, "h", 80},
      {"h:", false, "h", 80}, {"h:8x", false, "h", 80}, {":80", false, "", 80}, {"", false, "", 80},
  };
  for (const HostCase& c : hosts) {
    SCOPED_TRACE(c.in);
    std::string host;
    unsigned port = 0;
    EXPECT_EQ(krx::SplitHostPort(c.in, host, port), c.ok);
    if (c.ok) {
      EXPECT_EQ(host, c.host);
      EXPECT_EQ(port, c.port);
    }
  }
  EXPECT_EQ(krx::VersionFilePath("Kestrelix"), "/Kestrelix.ver");
  // HTTPS unless the setting names plain HTTP; the notices name the host alone.
  struct ServerCase {
    const char* setting;
    bool ok, secure;
    const char* host;
    unsigned port;
    const char* named;
    const char* installer;
  } servers[] = {
      {"www.marrowin.com", true, true, "www.marrowin.com", 443, "www.marrowin.com",
       "https://www.marrowin.com/download/krx.exe"},
      {"https://m.example:8443", true, true, "m.example", 8443, "m.example:8443", "https://m.example:8443/download/krx.exe"},
      {"http://127.0.0.1:8080", true, false, "127.0.0.1", 8080, "127.0.0.1:8080", "http://127.0.0.1:8080/download/krx.exe"},
      {"HTTP://h", true, false, "h", 80, "h", "http://h/download/krx.exe"},
      {"ftp://h", false, true, "", 0, "h", nullptr},
      {"https://", false, true, "", 0, "", nullptr},
      {"http://h:0", false, false, "", 0, "h:0", nullptr},
  };
  for (const ServerCase& c : servers) {
    SCOPED_TRACE(c.setting);
    krx::UpdateServer server;
    EXPECT_EQ(krx::ParseUpdateServer(c.setting, server), c.ok);
    EXPECT_EQ(server.named, c.named);
    if (!c.ok) continue;
    EXPECT_EQ(server.secure, c.secure);
    EXPECT_EQ(server.host, c.host);
    EXPECT_EQ(server.port, c.port);
    EXPECT_EQ(krx::InstallerAddress(server), c.installer);
  }

  std::string answer;
  krx::AppendVersionPiece(answer, "1.", 2);
  krx::AppendVersionPiece(answer, "3\0" "9", 3);  // a piece counts up to its first NUL
  krx::AppendVersionPiece(answer, "0", 1);
  EXPECT_EQ(answer, "1.30");

  struct AnswerCase {
    const char* body;
    unsigned status;
    const char* judged;
  } answers[] = {
      {"1.30", 200, "1.30"}, {"1.2", 200, "1.2"}, {"1.30\r\n", 200, ""}, {"", 200, ""},
      {"404", 404, ""},  // a short error page is no version
      {"1.31", 500, ""}, {"12345", 200, ""}, {"1234", 200, "1234"},
      {"1.3\r\n", 200, ""}, {"1.3\n", 200, ""},  // 4 characters or fewer, but with a line end
  };
  for (const AnswerCase& c : answers) EXPECT_EQ(krx::JudgeVersionAnswer(c.body, c.status), c.judged) << c.body;

  using V = krx::UpdateVerdict;
  V none = krx::JudgeUpdate("", "127.0.0.1:8080", "Kestrelix");
  EXPECT_EQ(none.kind, V::kNoAnswer);
  EXPECT_EQ(none.text, "Can not connect to 127.0.0.1:8080, Please check your network connection.");
  V same = krx::JudgeUpdate("1.30", "h", "Kestrelix");
  EXPECT_EQ(same.kind, V::kUpToDate);
  EXPECT_EQ(same.text, "Your Kestrelix is already the newest one.");
  V older = krx::JudgeUpdate("1.2", "h", "Kestrelix");
  EXPECT_EQ(older.kind, V::kOffer);
  EXPECT_EQ(older.text,
            "A new version 1.2 is available, do you want to update Kestrelix now (the current Kestrelix will be "
            "closed)?");
  EXPECT_EQ(krx::JudgeUpdate("1.3", "h", "Kestrelix").kind, V::kOffer);  // exact text, not a number
}

}  // namespace
