#include "core/record_cipher.h"

#include "core/md5.h"

namespace krx {

const char kDefaultCipherKey[] = "kqm482_zvt+pwrhxn";
const char kParameterErrorText[] = "parameter error";

namespace {

ParameterErrorReporter g_reporter = nullptr;

void ReportParameterError() {
  if (g_reporter) g_reporter();
}

IdeaSubkeys EncryptionSubkeys(const std::string& key) { return IdeaExpandKey(RecordCipherKeyWords(key)); }

}  // namespace

void SetParameterErrorReporter(ParameterErrorReporter reporter) { g_reporter = reporter; }

IdeaKeyWords RecordCipherKeyWords(const std::string& key) {
  return KeyWordsFromDigest(Md5(key.empty() ? std::string(kDefaultCipherKey) : key));
}

IdeaKeyWords KeyWordsFromDigest(const std::array<uint8_t, 16>& digest) {
  IdeaKeyWords words{};
  for (int i = 0; i < 8; ++i) {
    int high = digest[2 * i];
    int low = digest[2 * i + 1];
    int signedLow = low < 0x80 ? low : low - 256;
    words[i] = uint16_t((high * 256 + signedLow) & 0xFFFF);
  }
  return words;
}

int SealString(std::string& text, const std::string& key) {
  size_t len = text.size();
  size_t pad = 8 - (len % 8);
  // Only the last pad byte carries the count; the others are zero.
  text.append(pad - 1, '\0');
  text.push_back(char(pad));
  IdeaSubkeys subkeys = EncryptionSubkeys(key);
  for (size_t off = 0; off < text.size(); off += 8) {
    IdeaCryptBlock(reinterpret_cast<uint8_t*>(&text[off]), subkeys);
  }
  return int(text.size());
}

int UnsealString(std::string& text, size_t length, const std::string& key) {
  if (length % 8 != 0 || length > text.size()) {
    ReportParameterError();
    return -1;
  }
  if (length == 0) return -2;  // no block, no pad byte: nothing can match
  IdeaSubkeys subkeys = IdeaInvertKey(EncryptionSubkeys(key));
  for (size_t off = 0; off < length; off += 8) {
    IdeaCryptBlock(reinterpret_cast<uint8_t*>(&text[off]), subkeys);
  }
  int pad = static_cast<signed char>(text[length - 1]);
  long long n = static_cast<long long>(length) - pad;
  if (n == -1) {
    ReportParameterError();
    return -1;
  }
  if (n >= 0 && n <= static_cast<long long>(length)) {
    text.resize(size_t(n));
  } else {
    text.resize(length);
  }
  return int(n);
}

bool UnsealedMatches(int n, size_t length, const std::string& plaintext, const std::string& expected) {
  return n >= 0 && size_t(n) <= length && plaintext == expected;
}

bool SealedMatches(const std::string& sealed, const std::string& expected) {
  std::string text = sealed;
  int n = UnsealString(text, text.size());
  return UnsealedMatches(n, sealed.size(), text, expected);
}

}  // namespace krx
