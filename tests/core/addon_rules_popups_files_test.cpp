// The add-on's other decisions: which popups open, the options it reads,
// its day-file names and lines (checked with the manager's own readers of
// those lines) and its list reading.
#include <gtest/gtest.h>

#include <new>

#include "core/addon_rules.h"
#include "core/day_file_names.h"
#include "core/item_text.h"
#include "core/record_cipher.h"
#include "core/shared_uses.h"

namespace {

using krx::AddressList;
using krx::SettingValues;

// The white list as the manager fills it: a visited page's address, and
// what "Add to White list" takes from a block line: the page that opened the
// blocked popup.
const krx::StringArray kWhite = {
    "http://www.trusted.example/index.html",
    krx::ListAddress(180, krx::AddonDayLine({2026, 12, 7, 8, 3, 13}, "http://www.friend.example/news.html",
                                            "http://ads.example.net/popup.html?id=17"))};

constexpr long kClick = krx::kNewWindowUserInitiated | krx::kNewWindowFirst;
constexpr long kUnload = krx::kNewWindowUnloading;

struct PopupCase {
  const char* name;
  int blocking, checkOnClose;
  const char* opener;
  const char* popup;
  bool modifier;
  long flags;
  bool quitting;
  bool mayOpen;
};

const PopupCase kPopupCases[] = {
    {"a page's own popup is blocked", 1, 1, "http://news.example.com/", "http://ads.other.test/", false, 0, false,
     false},
    {"blocking off", 0, 1, "http://news.example.com/", "http://ads.other.test/", false, 0, false, true},
    {"blocking off also while closing", 0, 1, "http://news.example.com/", "http://ads.other.test/", false, kUnload, false,
     true},
    {"the pause key held", 1, 1, "http://news.example.com/", "http://ads.other.test/", true, 0, false, true},
    {"the user's own click", 1, 1, "http://news.example.com/", "http://ads.other.test/", false, kClick, false, true},
    {"a second window of the same click", 1, 1, "http://news.example.com/", "http://ads.other.test/", false,
     krx::kNewWindowUserInitiated, false, false},
    {"the first-window flag alone", 1, 1, "http://news.example.com/", "http://ads.other.test/", false,
     krx::kNewWindowFirst, false, false},
    {"a window the user asked the browser for", 1, 1, "http://news.example.com/", "http://ads.other.test/", false,
     krx::kNewWindowUserRequested, false, true},
    {"a popup the user let through", 1, 1, "http://news.example.com/", "http://ads.other.test/", false,
     krx::kNewWindowUserAllowed | krx::kNewWindowUserInitiated, false, true},
    {"other flags are no click", 1, 1, "http://news.example.com/", "http://ads.other.test/", false, 0x10078, false,
     false},
    {"a click counted while the page closes", 1, 1, "http://news.example.com/", "http://ads.other.test/", false,
     kClick | kUnload, false, false},
    {"closing, the check on", 1, 1, "http://news.example.com/", "http://ads.other.test/", false, kUnload, false, false},
    {"closing, the check off", 1, 0, "http://news.example.com/", "http://ads.other.test/", false, kUnload, false, true},
    {"the browser quit, the check off", 1, 0, "http://news.example.com/", "http://ads.other.test/", false, 0, true,
     true},
    {"a click after the browser quit", 1, 1, "http://news.example.com/", "http://ads.other.test/", false, kClick, true,
     false},
    {"closing, the pause key held", 1, 1, "http://news.example.com/", "http://ads.other.test/", true, kUnload, false,
     true},
    {"a white-listed opener's site", 1, 1, "http://www.trusted.example/other/page.html", "http://ads.other.test/", false,
     0, false, true},
    {"its sub-domain", 1, 1, "https://shop.www.trusted.example/", "", false, 0, false, true},
    {"a white-listed opener while closing", 1, 1, "http://WWW.TRUSTED.EXAMPLE", "", false, kUnload, false, true},
    {"the parent of a white-listed site", 1, 1, "http://trusted.example/", "http://ads.other.test/", false, 0, false,
     false},
    {"a user name is not the site", 1, 1, "http://www.trusted.example@attacker.test/", "", false, 0, false, false},
    {"a page white-listed from its block line", 1, 1, "http://www.friend.example/sports.html",
     "http://ads.other.test/", false, 0, false, true},
    {"a popup's own site does not let it open", 1, 1, "http://news.example.com/", "http://www.trusted.example/",
     false, 0, false, false},
    {"nor the popup the block line named", 1, 1, "http://news.example.com/", "http://ads.example.net/popup.html?id=17",
     false, 0, false, false},
    {"no addresses", 1, 1, "", "", false, 0, false, false},
};

TEST(AddonPopups, WhiteListModifierClickAndClosing) {
  AddressList white;
  white.Assign(kWhite);
  AddressList empty;
  for (const PopupCase& c : kPopupCases) {
    SCOPED_TRACE(c.name);
    SettingValues o = krx::kDefaultSettings;
    o[krx::kPopupBlocking] = c.blocking;
    o[krx::kCheckOnClose] = c.checkOnClose;
    krx::PopupRequest r{c.opener, c.popup, c.modifier, c.flags, c.quitting};
    EXPECT_EQ(krx::MayOpenPopup(o, white, r), c.mayOpen);
    // Without a white list only the switches, the key and the click let a window open.
    const bool unload = (c.flags & kUnload) || c.quitting;
    const bool asked = (c.flags & (krx::kNewWindowUserRequested | krx::kNewWindowUserAllowed)) != 0;
    const bool withoutList =
        !c.blocking || c.modifier || (unload ? !c.checkOnClose || asked : (c.flags & kClick) == kClick || asked);
    EXPECT_EQ(krx::MayOpenPopup(o, empty, r), withoutList);
  }
}

TEST(AddonPopups, PauseKeyFromItsSetting) {
  const struct {
    int stored, vk;
  } cases[] = {{17, 0x11}, {18, 0x12}, {0, 0x11}, {119, 0x11}, {-1, 0x11}};
  for (const auto& c : cases) {
    SettingValues o = krx::kDefaultSettings;
    o[krx::kPauseModifier] = c.stored;
    EXPECT_EQ(krx::PauseModifierVirtualKey(o), c.vk) << c.stored;
  }
  EXPECT_EQ(krx::PauseModifierVirtualKey(krx::kDefaultSettings), 0x11);
}

TEST(AddonOptions, HotkeysAndWhichVisitsAreLogged) {
  SettingValues o = krx::kDefaultSettings;  // both keys F9 (120)
  EXPECT_EQ(krx::AddonHotkeyToggles(o, 120, true, false), krx::kToggleFlash | krx::kToggleGif);
  o[krx::kFlashKey] = 118;
  o[krx::kGifKey] = 123;
  const struct {
    int vk;
    bool ctrl, alt;
    unsigned toggles;
  } keys[] = {{118, true, false, krx::kToggleFlash}, {123, true, false, krx::kToggleGif},
              {120, true, false, krx::kToggleNothing}, {118, false, false, krx::kToggleNothing},
              {118, true, true, krx::kToggleNothing}};
  for (const auto& k : keys) EXPECT_EQ(krx::AddonHotkeyToggles(o, k.vk, k.ctrl, k.alt), k.toggles) << k.vk;

  const struct {
    int visitLog, detailed;
    bool top, byPage, logged;
  } visits[] = {
      {1, 0, true, false, true},   {1, 0, false, false, false}, {1, 0, true, true, false},
      {1, 1, false, false, true},  {1, 1, true, true, true},    {0, 1, true, false, false},
      {2, 3, false, true, true},  // any value but 0 sets a switch
  };
  for (const auto& v : visits) {
    o[krx::kVisitLog] = v.visitLog;
    o[krx::kDetailedVisitLog] = v.detailed;
    EXPECT_EQ(krx::ShouldLogVisit(o, v.top, v.byPage), v.logged)
        << v.visitLog << v.detailed << v.top << v.byPage;
  }
}

// Unchecking "Enable Kestrelix" reaches the windows already open through
// the file they re-read: whatever the other options say, nothing acts.
TEST(AddonOptions, TurnedOffItActsOnNothing) {
  SettingValues v = krx::kDefaultSettings;
  v[krx::kAddOnEnabled] = 0;
  v[krx::kDetailedVisitLog] = 1;
  const SettingValues off = krx::ReadAddonOptions(krx::SerializeSettings(v));
  AddressList listed;
  listed.Assign({"bad.example.com"});
  EXPECT_TRUE(krx::MayOpenPopup(off, AddressList(), {"http://news.example.com/", "http://ads.other.test/"}));
  EXPECT_FALSE(krx::IsForbiddenNavigation(off, listed, "http://bad.example.com/"));
  EXPECT_FALSE(krx::ShouldLogVisit(off, true, false));
  EXPECT_FALSE(krx::ShouldLogVisit(off, false, true));
  EXPECT_EQ(krx::AddonHotkeyToggles(off, 120, true, false), krx::kToggleNothing);
  for (krx::Setting s : {krx::kBlockLog, krx::kFlashLog, krx::kMediaLog, krx::kBlockStatusMessage,
                         krx::kForbiddenStatusMessage, krx::kBlockSound})
    EXPECT_EQ(off[s], 0) << s;
  // Any other value is on, as for every switch.
  v[krx::kAddOnEnabled] = 2;
  EXPECT_TRUE(krx::IsForbiddenNavigation(krx::ReadAddonOptions(krx::SerializeSettings(v)), listed,
                                         "http://bad.example.com/"));
}

TEST(AddonOptions, FilesOf0_10_100And104Bytes) {
  SettingValues written;
  for (int i = 0; i < krx::kSettingCount; ++i) written[i] = 1000 + i;
  written[krx::kPopupBlocking] = 0;
  written[krx::kBlockLog] = 0;
  const std::string full = krx::SerializeSettings(written);
  ASSERT_EQ(full.size(), 100u);

  EXPECT_EQ(krx::ReadAddonOptions(""), krx::kDefaultSettings);

  // Ten bytes: two whole values, the half of a third is not taken.
  SettingValues ten = krx::kDefaultSettings;
  ten[krx::kPopupBlocking] = 0;
  ten[krx::kBlockLog] = 0;
  EXPECT_EQ(krx::ReadAddonOptions(full.substr(0, 10)), ten);
  EXPECT_EQ(krx::ReadAddonOptions(full.substr(0, 10))[krx::kVisitLog], 1);

  EXPECT_EQ(krx::ReadAddonOptions(full), written);
  EXPECT_EQ(krx::ReadAddonOptions(full + std::string("\x01\x00\x00\x00", 4)), written);

  // Byte order: a file whose pause-key value says 18.
  std::string bytes = krx::SerializeSettings(krx::kDefaultSettings);
  bytes[24] = 18;
  EXPECT_EQ(krx::PauseModifierVirtualKey(krx::ReadAddonOptions(bytes)), 0x12);
}

TEST(AddonDayFiles, NamesAreDayFilesOfTheRightCollection) {
  const struct {
    krx::AddonDayFileKind kind;
    const char* name;
    krx::RecordCollection collection;
  } cases[] = {
      {krx::AddonDayFileKind::kVisit, "20261207.vis", krx::kVisitRecords},
      {krx::AddonDayFileKind::kBlock, "20261207.blc", krx::kBlockRecords},
      {krx::AddonDayFileKind::kFlash, "20261207.fla", krx::kFlashRecords},
      {krx::AddonDayFileKind::kMedia, "20261207.mms", krx::kMediaRecords},
  };
  for (const auto& c : cases) {
    const std::string name = krx::AddonDayFileName(c.kind, 2026, 12, 7);
    EXPECT_EQ(name, c.name);
    int kinds = 0;
    for (const krx::DayFileKind& k : krx::kDayFileMergeOrder) {
      if (!krx::HasExtension(name, k.extension)) continue;
      ++kinds;
      EXPECT_EQ(k.collection, c.collection) << name;
    }
    EXPECT_EQ(kinds, 1) << name;
  }
  EXPECT_EQ(krx::AddonDayFileName(krx::AddonDayFileKind::kVisit, 2027, 1, 2), "20270102.vis");
}

// Shift-JIS lead bytes, as a Japanese system's code page has them.
bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(AddonDayFiles, LinesByteForByte) {
  const krx::LocalStamp t{2026, 12, 7, 8, 5, 9};
  const std::string longAddress = "http://long.example/" + std::string(5000, 'a');
  std::string kana;  // a double-byte character on every odd byte from 21 on, the cut's byte among them
  for (int i = 0; i < 2100; ++i) kana += "\x83\x5c";
  const std::string dbcsAddress = "http://dbcs.example/x" + kana;
  const struct {
    std::string address, tail, line;
    krx::LeadBytePredicate lead = nullptr;
  } cases[] = {
      {"http://www.example.com/", "Example Domain", "<12/07/2026 08:05:09> http://www.example.com/ - Example Domain\r\n"},
      {"http://ads.example.net/popup.html?id=17", "http://www.example.com/news/today.html",
       "<12/07/2026 08:05:09> http://ads.example.net/popup.html?id=17 - http://www.example.com/news/today.html\r\n"},
      {"http://www.example.com/",
       "C:\\Documents and Settings\\u\\Local Settings\\Temporary Internet Files\\Content.IE5\\AB12\\intro[1].swf",
       "<12/07/2026 08:05:09> http://www.example.com/ - C:\\Documents and Settings\\u\\Local Settings\\Temporary "
       "Internet Files\\Content.IE5\\AB12\\intro[1].swf\r\n"},
      {"mms://media.example.com/a.wmv", "", "<12/07/2026 08:05:09> mms://media.example.com/a.wmv - \r\n"},
      {"", "untitled", "<12/07/2026 08:05:09>  - untitled\r\n"},
      // Control characters: escaped in the address, blanks in the tail.
      {std::string("http://x.example/a\r\nb\0c\td", 25), std::string("Two\r\nlines\0and\ta tab", 20),
       "<12/07/2026 08:05:09> http://x.example/a%0D%0Ab%00c%09d - Two  lines and a tab\r\n"},
      // A " - " inside the address would end it early for the manager.
      {"file:///C:/My Videos/a - b.wmv", "Clip - Episode 1",
       "<12/07/2026 08:05:09> file:///C:/My Videos/a%20- b.wmv - Clip - Episode 1\r\n"},
      {"http://a.example/x -", "t", "<12/07/2026 08:05:09> http://a.example/x%20- - t\r\n"},
      {"http://dbcs.example/\x83\x5c\x83\x74\x83\x67", "\x83\x5c\x83\x74\x83\x67 - \x8c\xe7",
       "<12/07/2026 08:05:09> http://dbcs.example/\x83\x5c\x83\x74\x83\x67 - \x83\x5c\x83\x74\x83\x67 - \x8c\xe7\r\n"},
      {longAddress, std::string(5000, 't'),
       "<12/07/2026 08:05:09> " + longAddress.substr(0, krx::kMaxDayLineField) + " - " +
           std::string(krx::kMaxDayLineField, 't') + "\r\n"},
      {dbcsAddress, "t" + kana,
       "<12/07/2026 08:05:09> " + dbcsAddress.substr(0, krx::kMaxDayLineField - 1) + " - t" +
           kana.substr(0, krx::kMaxDayLineField - 2) + "\r\n",
       &ShiftJisLead},
      {"http://a.example/", "cut before its trail \x83", "<12/07/2026 08:05:09> http://a.example/ - cut before its trail \r\n",
       &ShiftJisLead},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 80));
    const std::string line = krx::AddonDayLine(t, c.address, c.tail, c.lead);
    EXPECT_EQ(line, c.line);
    // One line: the only CR LF is its end, and the manager reads the parts back.
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(krx::FindCrLf(line, 0, c.lead), line.size() - 2);
    const std::string record = line.substr(0, line.size() - 2);
    EXPECT_EQ(record.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
    EXPECT_EQ(record.substr(1, 10), "12/07/2026");
    if (c.address.find_first_of(std::string("\r\n\0\t", 4)) == std::string::npos &&
        c.address.find(" -") == std::string::npos && c.address.size() <= krx::kMaxDayLineField) {
      EXPECT_EQ(krx::LogAddress(record), c.address);
    }
  }
  // A flash line carries the file after its first " - ".
  EXPECT_EQ(krx::FlashFile(krx::AddonDayLine(t, "http://a - b.example/", "C:\\f.swf")), "C:\\f.swf\r\n");
  EXPECT_EQ(krx::AddonDayLine({2027, 1, 2, 23, 59, 0}, "a", "b"), "<01/02/2027 23:59:00> a - b\r\n");
}

TEST(AddonLists, ReadWhateverTheStampAndKeepWholeRecordsOfADamagedFile) {
  const krx::StringArray records = {"http://www.example.com/", "", "example.org", "http://last.example/"};
  krx::StringSink sink;
  ASSERT_TRUE(krx::WriteRecordFile(sink, krx::SealedCopy("a password the add-on does not know"), records));

  krx::StringArray out;
  krx::MemorySource whole(sink.bytes);
  EXPECT_TRUE(krx::ReadListFile(whole, out));
  EXPECT_EQ(out, records);

  krx::MemorySource cut(sink.bytes.data(), sink.bytes.size() - 3);
  EXPECT_FALSE(krx::ReadListFile(cut, out));
  EXPECT_EQ(out, (krx::StringArray{"http://www.example.com/", "", "example.org"}));

  krx::MemorySource nothing("", 0);
  EXPECT_FALSE(krx::ReadListFile(nothing, out));
  EXPECT_TRUE(out.empty());
}

}  // namespace

// The add-on's list reader, started by the first window of a process and
// stopped by the last: a start that throws must not leave a use counted
// that no window will ever take back.
TEST(AddonLists, AStartThatThrowsCountsNoUse) {
  krx::SharedUses uses;
  int starts = 0;
  EXPECT_THROW(uses.Join(false, [] { throw std::bad_alloc(); }), std::bad_alloc);
  EXPECT_EQ(uses.count(), 0);
  uses.Join(false, [&] { ++starts; });
  uses.Join(true, [&] { ++starts; });   // running: shared
  uses.Join(false, [&] { ++starts; });  // its start failed quietly: tried again
  EXPECT_EQ(starts, 2);
  EXPECT_FALSE(uses.Leave());
  EXPECT_FALSE(uses.Leave());
  EXPECT_TRUE(uses.Leave());
}
