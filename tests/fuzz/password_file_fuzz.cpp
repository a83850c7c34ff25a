// Any bytes as user.sav, through the start-up check and the login's
// comparison, and UnsealString's promises for every length it is given.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/password_rules.h"
#include "core/record_cipher.h"

namespace {
int g_reports = 0;
void CountReport() { ++g_reports; }

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Unseals the first length bytes of a copy of sealed and checks the result
// against what the cipher promises.
void CheckUnseal(const std::string& sealed, size_t length) {
  std::string text = sealed;
  g_reports = 0;
  int n = krx::UnsealString(text, length);
  if (length % 8 != 0 || length > sealed.size()) {
    Check(n == -1 && g_reports == 1 && text == sealed);
    return;
  }
  Check((n == -1) == (g_reports == 1) && g_reports <= 1);
  if (length == 0) {
    Check(n < -1 && text == sealed);
  } else if (n >= 0 && size_t(n) <= length) {
    Check(text.size() == size_t(n));
    // The plaintext matches the sealed bytes it came from, whatever the key.
    if (length == sealed.size()) Check(krx::SealedMatches(sealed, text));
  } else if (n != -1) {
    Check(text.size() == length);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  krx::SetParameterErrorReporter(&CountReport);
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  Check(krx::IsSealedEmptyPassword(bytes) == krx::SealedMatches(bytes, std::string()));
  CheckUnseal(bytes, size);
  if (size > 0) CheckUnseal(bytes, size - 1 - data[0] % (size < 17 ? size : 17));

  // Sealing any text gives whole blocks that unseal to the text again.
  std::string typed = bytes.substr(0, 40);
  std::string sealed = krx::SealedCopy(typed);
  Check(sealed.size() == (typed.size() / 8 + 1) * 8);
  Check(krx::SealedMatches(sealed, typed));
  Check(krx::IsSealedEmptyPassword(sealed) == typed.empty());
  return 0;
}
