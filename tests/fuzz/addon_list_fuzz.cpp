// Any bytes as white.log or forbid.log read by the add-on, which knows no
// password: every record read becomes an entry of the look-up index, every
// entry that is not blank matches itself both ways, its host's ASCII form
// stays as it is when converted again, and every record passed
// through the day-file line stays one line that the manager reads back.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/addon_rules.h"
#include "core/item_text.h"

namespace {
void Check(bool ok) {
  if (!ok) __builtin_trap();
}

bool Blank(const std::string& s) {
  for (char c : s)
    if (!(c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v')) return false;
  return true;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  krx::MemorySource source(reinterpret_cast<const char*>(data), size);
  krx::StringArray records;
  (void)krx::ReadListFile(source, records);

  krx::AddressList list;
  list.Assign(records);
  Check(list.size() <= records.size());
  const krx::SettingValues byDomain = krx::kDefaultSettings;
  krx::SettingValues byAddress = krx::kDefaultSettings;
  byAddress[krx::kMatchDomain] = 0;
  for (const std::string& r : records) {
    // The ASCII form of a host is its own ASCII form.
    const std::string ascii = krx::AddressWithAsciiHost(r);
    Check(krx::AddressWithAsciiHost(ascii) == ascii);
    const krx::AddressParts parts = krx::SplitAddress(r);
    Check(parts.hasHost == !parts.host.empty());
    if (!Blank(r)) {
      Check(list.MatchesAddress(r));
      Check(list.MatchesDomain(r));
      Check(krx::IsForbiddenNavigation(byDomain, list, r));
      Check(krx::IsForbiddenNavigation(byAddress, list, r));
    }

    const std::string line = krx::AddonDayLine({2026, 12, 7, 8, 0, 0}, r, r);
    Check(line.size() >= 2 && line.compare(line.size() - 2, 2, "\r\n") == 0);
    const std::string body = line.substr(0, line.size() - 2);
    Check(body.find_first_of(std::string("\r\n\0", 3)) == std::string::npos);
    Check(body.compare(0, 22, "<12/07/2026 08:00:00> ") == 0);
    // The address the manager takes back never runs into the tail.
    const std::string address = krx::LogAddress(body);
    Check(address.size() <= krx::kMaxDayLineField * 3);
    Check(body.compare(22, address.size(), address) == 0);
  }
  return 0;
}
