#include "core/addon_rules.h"

#include <algorithm>
#include <cstdio>

#include "core/ascii_case.h"
#include "core/idn_host.h"

namespace krx {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }
bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool AllDigits(std::string_view s) {
  for (char c : s)
    if (!IsDigit(c)) return false;
  return true;
}

// The scheme before the first ':', when the text starts with one (a letter,
// then letters, digits, '+', '-', '.'); npos otherwise.
size_t SchemeEnd(std::string_view s) {
  if (s.empty() || !IsAlpha(s[0])) return std::string_view::npos;
  for (size_t i = 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == ':') return i;
    if (!(IsAlpha(c) || IsDigit(c) || c == '+' || c == '-' || c == '.')) return std::string_view::npos;
  }
  return std::string_view::npos;
}

// The web schemes, where the browser reads a backslash as a slash. http and
// https name the same address for the lists: an entry is about a page, not
// about how it travels.
bool IsWebScheme(std::string_view scheme) { return scheme == "http" || scheme == "https"; }

std::string_view DefaultPort(std::string_view scheme) {
  if (scheme == "http") return "80";
  if (scheme == "https") return "443";
  if (scheme == "ftp") return "21";
  return {};
}

bool IsIpv4Literal(std::string_view host) {
  for (char c : host)
    if (!IsDigit(c) && c != '.') return false;
  return !host.empty();
}

}  // namespace

SettingValues ReadAddonOptions(const std::string& cfgBytes) {
  SettingValues opt = ParseSettings(cfgBytes).values;
  if (opt[kAddOnEnabled] != 0) return opt;
  // Unchecking the option unregisters the add-on for windows opened later;
  // the ones open now keep it loaded and must let go too.
  for (Setting s : {kPopupBlocking, kBlockLog, kVisitLog, kFlashLog, kFlashKey, kGifKey, kBlockStatusMessage,
                    kBlockSound, kForbiddenStatusMessage, kMediaLog, kDetailedVisitLog})
    opt[s] = 0;
  opt[kExcludeForbidden] = 1;
  return opt;
}

std::string AddressWithAsciiHost(std::string_view address, LabelToAscii toAscii) {
  size_t i = 0;
  while (i < address.size() && static_cast<unsigned char>(address[i]) < 0x80) ++i;
  if (i == address.size()) return std::string(address);
  // The host as SplitAddress finds it: after "scheme://" (or "//", or at the
  // start of "host/path" typed without a scheme) and a user name, before
  // the port and the path.
  std::string_view s = address;
  size_t begin = 0;
  while (begin < s.size() && IsBlank(s[begin])) ++begin;
  auto isSlash = [](char c) { return c == '/' || c == '\\'; };
  const size_t colon = SchemeEnd(s.substr(begin));
  if (colon != std::string_view::npos && begin + colon + 2 < s.size() && isSlash(s[begin + colon + 1]) &&
      isSlash(s[begin + colon + 2])) {
    begin += colon + 3;
  } else if (colon != std::string_view::npos) {
    const std::string_view after = s.substr(begin + colon + 1);
    const std::string_view digits = after.substr(0, after.find_first_of("/\\?#"));
    if (!after.empty() && (digits.empty() || !AllDigits(digits))) return std::string(address);  // no host
  } else if (begin + 1 < s.size() && isSlash(s[begin]) && isSlash(s[begin + 1])) {
    begin += 2;
  }
  size_t end = s.find_first_of("/\\?#", begin);
  if (end == std::string_view::npos) end = s.size();
  // A text such as "x://y" with a letter that is not ASCII before the ":"
  // begins with a scheme no browser knows, not with a host: converted, its
  // first part would read as a scheme the next time.
  if (end > begin && s[end - 1] == ':' && end + 1 < s.size() && isSlash(s[end]) && isSlash(s[end + 1])) {
    return std::string(address);
  }
  const size_t at = s.substr(begin, end - begin).rfind('@');
  if (at != std::string_view::npos) begin += at + 1;
  const size_t port = s.substr(begin, end - begin).rfind(':');
  if (port != std::string_view::npos && AllDigits(s.substr(begin + port + 1, end - begin - port - 1))) end = begin + port;
  std::string host;
  if (!AsciiHost(s.substr(begin, end - begin), host, toAscii)) return std::string(address);
  std::string out(s.substr(0, begin));
  out += host;
  out += s.substr(end);
  return out;
}

AddressParts SplitAddress(std::string_view address) {
  AddressParts parts;
  SplitAddressInto(address, parts);
  return parts;
}

void SplitAddressInto(std::string_view address, AddressParts& parts) {
  parts.hasHost = false;
  parts.host.clear();
  parts.key.clear();
  std::string_view s = Trim(address);
  if (s.empty()) return;

  std::string scheme;
  std::string_view rest;
  size_t colon = SchemeEnd(s);
  auto isSlash = [](char c) { return c == '/' || c == '\\'; };
  // The browser takes "http:\\host\" for "http://host/".
  if (colon != std::string_view::npos && colon + 2 < s.size() && isSlash(s[colon + 1]) && isSlash(s[colon + 2])) {
    scheme = LowerAscii(s.substr(0, colon));
    rest = s.substr(colon + 3);
  } else if (colon != std::string_view::npos) {
    // "example.com:8080/x" is a host and a port typed without a scheme;
    // "about:blank" or "mailto:a@b" name no host at all.
    std::string_view after = s.substr(colon + 1);
    size_t end = after.find_first_of("/\\?#");
    std::string_view digits = after.substr(0, end);
    if (after.empty() || (!digits.empty() && AllDigits(digits))) {
      scheme = "http";
      rest = s;
    } else {
      parts.key = LowerAscii(s.substr(0, colon));
      parts.key += ':';
      parts.key += after;
      return;
    }
  } else {
    scheme = "http";  // "example.com" or "www.example.com/path" as typed
    rest = s;
    if (rest.size() >= 2 && isSlash(rest[0]) && isSlash(rest[1])) rest.remove_prefix(2);
  }

  const bool web = IsWebScheme(scheme);
  // Copied only when there are backslashes to turn (rarely): most entries
  // are split without an allocation of their own.
  std::string turned;
  std::string_view tail = rest;
  if (web && rest.find('\\') != std::string_view::npos) {
    turned.assign(rest);
    for (char& c : turned)
      if (c == '\\') c = '/';
    tail = turned;
  }

  size_t authEnd = tail.find_first_of("/?#");
  std::string_view authority = tail.substr(0, authEnd == std::string_view::npos ? tail.size() : authEnd);
  std::string_view pathEtc = authEnd == std::string_view::npos ? std::string_view() : tail.substr(authEnd);

  // A user name (and password) before '@' is not part of the site:
  // "http://www.example.com@evil.example/" is evil.example.
  size_t at = authority.rfind('@');
  std::string_view hostPort = at == std::string_view::npos ? authority : authority.substr(at + 1);
  std::string_view host = hostPort, port;
  if (!hostPort.empty() && hostPort[0] == '[') {
    size_t close = hostPort.find(']');
    if (close != std::string_view::npos) {
      host = hostPort.substr(0, close + 1);
      std::string_view after = hostPort.substr(close + 1);
      if (!after.empty() && after[0] == ':') port = after.substr(1);
    }
  } else {
    size_t c = hostPort.rfind(':');
    if (c != std::string_view::npos && AllDigits(hostPort.substr(c + 1))) {
      host = hostPort.substr(0, c);
      port = hostPort.substr(c + 1);
    }
  }
  while (!host.empty() && host.back() == '.') host.remove_suffix(1);
  while (!host.empty() && host.front() == '.') host.remove_prefix(1);
  while (port.size() > 1 && port[0] == '0') port.remove_prefix(1);
  if (port == DefaultPort(scheme)) port = {};

  // The fragment only scrolls the page; an empty query is no query.
  size_t hash = pathEtc.find('#');
  if (hash != std::string_view::npos) pathEtc = pathEtc.substr(0, hash);
  size_t q = pathEtc.find('?');
  std::string_view path = pathEtc.substr(0, q);
  std::string_view query = q == std::string_view::npos ? std::string_view() : pathEtc.substr(q + 1);
  while (!path.empty() && path.back() == '/') path.remove_suffix(1);

  parts.host.assign(host);
  for (char& c : parts.host)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  parts.hasHost = !parts.host.empty();
  parts.key.reserve(tail.size() + 16);
  parts.key = web ? "http" : scheme;
  parts.key += "://";
  parts.key += parts.host;
  if (!port.empty()) {
    parts.key += ':';
    parts.key += port;
  }
  parts.key += path;
  if (!query.empty()) {
    parts.key += '?';
    parts.key += query;
  }
}

namespace {

bool Listed(const std::vector<std::string_view>& sorted, std::string_view text) {
  return std::binary_search(sorted.begin(), sorted.end(), text);
}

void SortUnique(std::vector<std::string_view>& v) {
  std::sort(v.begin(), v.end());
  v.erase(std::unique(v.begin(), v.end()), v.end());
}

}  // namespace

void AddressList::Assign(const StringArray& entries) {
  // Built aside and moved in, so that running out of memory half-way leaves
  // the list as it was. Every entry is split into the same parts, whose
  // texts are appended to one block that the sorted views point into once
  // it is whole (moving the vector keeps its block where it is): a handful
  // of allocations for the whole index instead of several for each entry,
  // which were most of the cost of indexing where allocations are dear.
  AddressList built;
  struct Place {
    size_t key, keySize, host, hostSize;
  };
  std::vector<Place> places;
  places.reserve(entries.size());
  AddressParts p;
  for (const std::string& e : entries) {
    SplitAddressInto(e, p);
    if (p.key.empty() && !p.hasHost) continue;  // blank entries match nothing
    Place at{built.storage_.size(), p.key.size(), 0, 0};
    built.storage_.insert(built.storage_.end(), p.key.begin(), p.key.end());
    if (p.hasHost) {
      at.host = built.storage_.size();
      at.hostSize = p.host.size();
      built.storage_.insert(built.storage_.end(), p.host.begin(), p.host.end());
    }
    places.push_back(at);
  }
  built.storage_.shrink_to_fit();
  const char* block = built.storage_.data();
  built.keys_.reserve(places.size());
  built.hosts_.reserve(places.size());
  for (const Place& at : places) {
    const std::string_view key(block + at.key, at.keySize);
    built.keys_.push_back(key);
    if (at.hostSize) {
      built.hosts_.emplace_back(block + at.host, at.hostSize);
      if (at.hostSize > built.longestHost_) built.longestHost_ = at.hostSize;
    } else {
      built.hostlessKeys_.push_back(key);
    }
  }
  SortUnique(built.keys_);
  SortUnique(built.hosts_);
  SortUnique(built.hostlessKeys_);
  built.entryCount_ = places.size();
  *this = std::move(built);
}

bool AddressList::HostOrParentIn(std::string_view host) const {
  if (Listed(hosts_, host)) return true;
  if (IsIpv4Literal(host) || host.front() == '[') return false;  // numbers have no sub-domains
  // Only the parents no longer than the longest listed host are looked up,
  // so a page's host of a thousand labels costs no more than a short one.
  size_t from = host.size() > longestHost_ + 1 ? host.size() - longestHost_ - 1 : 0;
  for (size_t dot = host.find('.', from); dot != std::string_view::npos; dot = host.find('.', dot + 1))
    if (dot + 1 < host.size() && Listed(hosts_, host.substr(dot + 1))) return true;
  return false;
}

bool AddressList::MatchesDomain(std::string_view url) const {
  if (empty()) return false;
  AddressParts p = SplitAddress(url);
  if (p.hasHost) return HostOrParentIn(p.host);
  return !p.key.empty() && Listed(hostlessKeys_, p.key);
}

bool AddressList::MatchesAddress(std::string_view url) const {
  if (keys_.empty()) return false;
  AddressParts p = SplitAddress(url);
  return !p.key.empty() && Listed(keys_, p.key);
}

bool IsForbiddenNavigation(const SettingValues& opt, const AddressList& forbidden, std::string_view url) {
  if (opt[kExcludeForbidden] != 0 || forbidden.empty()) return false;
  // A host no name server answers for, left unencoded, is stopped rather
  // than compared: in the form it was written it could miss an entry that
  // names the site it belongs to.
  const AddressParts parts = SplitAddress(url);
  if (parts.hasHost && IsRefusedHost(parts.host)) return true;
  return opt[kMatchDomain] != 0 ? forbidden.MatchesDomain(url) : forbidden.MatchesAddress(url);
}

bool MayOpenPopup(const SettingValues& opt, const AddressList& white, const PopupRequest& r) {
  if (opt[kPopupBlocking] == 0) return true;
  const bool unloading = (r.flags & kNewWindowUnloading) != 0 || r.browserQuitting;
  // Without the closing check, a window opened while a page closes is let be.
  if (unloading && opt[kCheckOnClose] == 0) return true;
  if (r.modifierHeld) return true;
  if (r.flags & (kNewWindowUserRequested | kNewWindowUserAllowed)) return true;
  // One click, one window: a script that opens more on the same click gets
  // only the first. A page that opens a window from its unload handler may
  // find the user's last click still counted: that is no click on a link.
  const long click = kNewWindowUserInitiated | kNewWindowFirst;
  if ((r.flags & click) == click && !unloading) return true;
  // The white list holds pages whose popups are let be, not sites a popup
  // may go to: any page could open a popup onto a white-listed site.
  return white.MatchesDomain(r.openerUrl);
}

int PauseModifierVirtualKey(const SettingValues& opt) { return opt[kPauseModifier] == 18 ? 0x12 : 0x11; }

unsigned AddonHotkeyToggles(const SettingValues& opt, int virtualKey, bool ctrlHeld, bool altHeld) {
  if (!ctrlHeld || altHeld) return kToggleNothing;
  unsigned toggles = kToggleNothing;
  if (virtualKey == opt[kFlashKey]) toggles |= kToggleFlash;
  if (virtualKey == opt[kGifKey]) toggles |= kToggleGif;
  return toggles;
}

bool ShouldLogVisit(const SettingValues& opt, bool topWindow, bool byPageItself) {
  if (opt[kVisitLog] == 0) return false;
  return (topWindow && !byPageItself) || opt[kDetailedVisitLog] != 0;
}

std::string AddonDayFileName(AddonDayFileKind kind, int year, int month, int day) {
  const char* ext = ".vis";
  switch (kind) {
    case AddonDayFileKind::kVisit: ext = ".vis"; break;
    case AddonDayFileKind::kBlock: ext = ".blc"; break;
    case AddonDayFileKind::kFlash: ext = ".fla"; break;
    case AddonDayFileKind::kMedia: ext = ".mms"; break;
  }
  char name[48];
  std::snprintf(name, sizeof name, "%04d%02d%02d%s", year, month, day, ext);
  return name;
}

namespace {

// At most kMaxDayLineField bytes of text, never half a double-byte
// character: a lead byte left before the " - " or the CR LF would take the
// next byte as its trail, and the manager's line split would miss the CR.
std::string_view CutAtCharacter(std::string_view text, LeadBytePredicate isLead) {
  if (!isLead) return text.substr(0, kMaxDayLineField);
  size_t end = 0;
  while (end < text.size()) {
    const size_t next = end + (isLead(static_cast<unsigned char>(text[end])) ? 2 : 1);
    if (next > kMaxDayLineField || next > text.size()) break;  // a lead byte without its trail goes too
    end = next;
  }
  return text.substr(0, end);
}

void AppendAddress(std::string& out, std::string_view address) {
  static const char kHex[] = "0123456789ABCDEF";
  for (size_t i = 0; i < address.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(address[i]);
    if (c < 0x20) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else if (c == ' ' && (address.substr(i, 3) == " - " || address.substr(i) == " -")) {
      // A blank with "- " after it would end the address early, also when
      // the "- " is half the address's own end and half the separator.
      out += "%20";
    } else {
      out += char(c);
    }
  }
}

void AppendTail(std::string& out, std::string_view tail) {
  for (char c : tail) out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
}

}  // namespace

std::string AddonDayLine(const LocalStamp& t, std::string_view address, std::string_view tail,
                         LeadBytePredicate isLead) {
  address = CutAtCharacter(address, isLead);
  tail = CutAtCharacter(tail, isLead);
  char stamp[96];
  std::snprintf(stamp, sizeof stamp, "<%02d/%02d/%04d %02d:%02d:%02d> ", t.month, t.day, t.year, t.hour, t.minute,
                t.second);
  std::string line(stamp);
  line.reserve(line.size() + address.size() + tail.size() + 8);
  AppendAddress(line, address);
  line += " - ";
  AppendTail(line, tail);
  line += "\r\n";
  return line;
}

int64_t CounterMilliseconds(int64_t ticks, int64_t perSecond) {
  if (perSecond <= 0) return 0;
  return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

bool ReadListFile(ByteSource& source, StringArray& out, WideConverter convert) {
  RecordFileRead read = ReadRecordFileAnyStamp(source, convert);
  out = std::move(read.records);
  return read.status == RecordFileStatus::kLoaded;
}

}  // namespace krx
