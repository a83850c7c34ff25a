#pragma once
// What the browser add-on decides, apart from the browser: which options it
// acts on, which navigations the forbidden list stops, which popups may open,
// what its day files are called and what one of their lines holds. The COM
// glue in addon/ only carries the browser's events to these functions.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive.h"
#include "core/day_file_merge.h"
#include "core/idn_host.h"
#include "core/record_file.h"
#include "core/settings_file.h"

namespace krx {

// The options the add-on acts on, from the bytes of KRX.cfg: a missing,
// empty or short file gives the defaults for every value it does not hold
// whole; bytes after the 25th value are ignored. While "Enable Kestrelix"
// (kAddOnEnabled) is 0 the browser windows still open with the add-on act
// on nothing: the values read switch off popup blocking, the forbidden list,
// every log, the messages and the hotkeys.
SettingValues ReadAddonOptions(const std::string& cfgBytes);

// The parts of an address that the lists compare. Addresses are bytes in
// the system code page; only ASCII letters change case.
struct AddressParts {
  bool hasHost = false;  // an address with an authority ("scheme://host..." or a bare "host/...")
  std::string host;      // lower case, without user name, port, trailing dot or brackets kept for IPv6
  std::string key;       // the whole address as the address match compares it
};
// How an address is read for both lists; see README "How the add-on matches".
AddressParts SplitAddress(std::string_view address);
// The same into parts whose texts' room is used again (indexing a list).
void SplitAddressInto(std::string_view address, AddressParts& parts);

// An address in UTF-8 with its host in ASCII form (core/idn_host.h): how
// the add-on hands the browser's addresses and the lists' entries to the
// functions here, so that an international name and its "xn--" form match.
// Addresses without a host, with an ASCII host or that are no UTF-8 come
// back as they are. toAscii: the labels' conversion (idn_host.h).
std::string AddressWithAsciiHost(std::string_view address, LabelToAscii toAscii = &PunycodeLabel);

// An index over the white or the forbidden list (the records of white.log
// or forbid.log). Look-ups are binary searches of sorted texts: one per
// label of the host for the domain match, one for the address match.
class AddressList {
 public:
  AddressList() = default;
  // The index views into texts it owns: moving keeps them where they are,
  // a copy would not, so a list is moved (or Assign()ed), never copied.
  AddressList(AddressList&&) noexcept = default;
  AddressList& operator=(AddressList&&) noexcept = default;
  AddressList(const AddressList&) = delete;
  AddressList& operator=(const AddressList&) = delete;

  void Assign(const StringArray& entries);
  bool empty() const { return hosts_.empty() && keys_.empty(); }
  size_t size() const { return entryCount_; }
  // The url's host is an entry's host or a sub-domain of it. Entries that
  // name no host (about:, javascript:, mailto: ...) match by address here too.
  bool MatchesDomain(std::string_view url) const;
  // The url is the entry's address, read the same way for both (scheme and
  // host case, user name, default port, trailing slash and fragment ignored).
  bool MatchesAddress(std::string_view url) const;

 private:
  bool HostOrParentIn(std::string_view host) const;
  std::vector<char> storage_;  // owns the texts the sorted lists view
  std::vector<std::string_view> hosts_;
  std::vector<std::string_view> keys_;
  std::vector<std::string_view> hostlessKeys_;
  size_t entryCount_ = 0;
  size_t longestHost_ = 0;  // no longer suffix of a host can be listed
};

// A navigation the forbidden list stops. The switches count as set for any
// value but 0: kExcludeForbidden set switches the list off; otherwise
// kMatchDomain set chooses the domain match, cleared the address match.
// While the list holds entries, an address whose international host no
// real host can be (IsRefusedHost) is stopped by either match.
bool IsForbiddenNavigation(const SettingValues& opt, const AddressList& forbidden, std::string_view url);

// NewWindow3's flags (NWMF_*) that the popup decision reads, which the
// headers offer only to builds for newer systems than ours.
enum NewWindowFlag : long {
  kNewWindowUnloading = 0x1,       // opened while a page closes
  kNewWindowUserInitiated = 0x2,   // during the user's click
  kNewWindowFirst = 0x4,           // the first window of that click
  kNewWindowUserRequested = 0x80,  // the user asked the browser itself (a link's "open in new window")
  kNewWindowUserAllowed = 0x100,   // the user let the page's popup through the browser's own blocker
};

struct PopupRequest {
  std::string_view openerUrl;  // the page that opens the window
  std::string_view popupUrl;   // the window's address, empty when the browser does not say
  bool modifierHeld = false;   // the pause-blocking key (kPauseModifier) is down
  long flags = 0;              // NewWindow3's flags; 0 when the browser does not say
  bool browserQuitting = false;  // the browser quit before the window was asked for
};
// Whether a new window may open: popup blocking (kPopupBlocking) off, the pause key
// held, a window the user asked the browser for, the first window of the user's
// click (not while unloading: a further window of the same click is a script's),
// the opener's site in the white list. A window opened while unloading (or after
// the browser quit) passes when kCheckOnClose (check popups on closing) is 0.
bool MayOpenPopup(const SettingValues& opt, const AddressList& white, const PopupRequest& r);

// The virtual key that pauses blocking: 0x12 (ALT) when kPauseModifier holds 18,
// else 0x11 (CTRL), the default.
int PauseModifierVirtualKey(const SettingValues& opt);

// What CTRL with a key toggles on the page: its flash objects (kFlashKey),
// its GIF images (kGifKey); both when the two settings hold the same
// key, as their defaults do (F9). Nothing without CTRL, or with ALT too
// (CTRL+ALT is AltGr on many keyboards, which types characters).
enum AddonToggle : unsigned { kToggleNothing = 0, kToggleFlash = 1, kToggleGif = 2 };
unsigned AddonHotkeyToggles(const SettingValues& opt, int virtualKey, bool ctrlHeld, bool altHeld);

// Whether a page that finished loading gets a visit line: the visit log
// (kVisitLog) on, and the page in the browser's top window opened by the user;
// frames and navigations a page makes by itself only with the detailed
// visit log (kDetailedVisitLog).
bool ShouldLogVisit(const SettingValues& opt, bool topWindow, bool byPageItself);

// NOTE: named AddonDayFileKind, not DayFileKind, which day_file_names.h
// already gives to the manager's table of day-file kinds.
enum class AddonDayFileKind { kVisit, kBlock, kFlash, kMedia };
// "yyyymmdd" and the kind's extension: .vis .blc .fla .mms.
std::string AddonDayFileName(AddonDayFileKind kind, int year, int month, int day);

struct LocalStamp {
  int year, month, day, hour, minute, second;
};

// The longest address and tail a line carries; longer ones are cut here so
// that every line stays one small append.
constexpr size_t kMaxDayLineField = 4096;

// One whole day-file line with its CR LF:
//   "<mm/dd/yyyy hh:mm:ss> " + address + " - " + tail + "\r\n"
// tail: the page title (visit), the opener's address (block), the flash
// file's path (flash), the title (media). A control character (below 0x20,
// CR LF NUL among them) in the address becomes its %XX escape, in the tail a
// blank; the blank of a " - " inside the address (or of a " -" at its end)
// becomes "%20" so that the manager finds the address's end where it ends.
// isLead: the system code page's lead bytes (nullptr for a single-byte one),
// so that a cut never splits a double-byte character.
std::string AddonDayLine(const LocalStamp& t, std::string_view address, std::string_view tail,
                         LeadBytePredicate isLead = nullptr);

// Milliseconds of a counter that runs at perSecond ticks a second (the
// performance counter), computed without ticks * 1000, which overflows
// after about 35 days of uptime on a counter at 3 GHz.
int64_t CounterMilliseconds(int64_t ticks, int64_t perSecond);

// The records of white.log or forbid.log as the add-on reads them: it does
// not know the password, so the stamp is not checked. False when the file
// is damaged (the records read whole are still in out).
bool ReadListFile(ByteSource& source, StringArray& out, WideConverter convert = &Utf16ToUtf8);

}  // namespace krx
