#pragma once
// The record cipher seals the user's password: IDEA in ECB mode keyed by the
// MD5 of a key string, with this program's own pad rule and key-word rule.
// Sealed bytes already stored on users' disks depend on every detail here.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/idea.h"

namespace krx {

// Used whenever the key string is empty, which is every call in the program.
extern const char kDefaultCipherKey[];

// Shown to the user when a sealed length is not a multiple of 8 or the pad
// count makes the plaintext length exactly -1. The Windows side installs a
// plain system message box; tests install a counter. With none installed the
// report is dropped.
using ParameterErrorReporter = void (*)();
void SetParameterErrorReporter(ParameterErrorReporter reporter);
extern const char kParameterErrorText[];

// Key words from the MD5 of the key string. Departs from standard IDEA: a
// low byte of 0x80 or more is taken as a signed char, so the word is 0x100
// smaller (mod 0x10000).
IdeaKeyWords RecordCipherKeyWords(const std::string& key);
IdeaKeyWords KeyWordsFromDigest(const std::array<uint8_t, 16>& digest);

// Seals text in place and returns its new length (a multiple of 8, at least 8).
int SealString(std::string& text, const std::string& key = std::string());

// Unseals the first `length` bytes of text in place. Returns the plaintext
// length n (text then holds exactly n bytes) or -1 after a "parameter error"
// report. A result outside 0..length means the data was sealed under another
// key or is damaged; text then keeps all `length` decrypted bytes.
// A length of 0 holds no block: the result is -2, a silent mismatch.
int UnsealString(std::string& text, size_t length, const std::string& key = std::string());

// The matching rule: an unseal result matches the expected text only when
// 0 <= n <= length and the plaintext equals it byte for byte.
bool UnsealedMatches(int n, size_t length, const std::string& plaintext, const std::string& expected);

// Convenience for callers that hold a sealed copy: unseals a copy under the
// default key and applies the matching rule.
bool SealedMatches(const std::string& sealed, const std::string& expected);

// The password stamp that opens every record file and the content of user.sav.
inline std::string SealedCopy(std::string text) {
  SealString(text);
  return text;
}

}  // namespace krx
