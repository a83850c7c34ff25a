// MD5, IDEA and the record cipher's own rules (key words, pad, unseal results).
#include <gtest/gtest.h>

#include "core/idea.h"
#include "core/md5.h"
#include "core/record_cipher.h"
#include "support/test_support.h"

using krx_test::Bytes;
using krx_test::Hex;

namespace {

std::string DigestHex(const std::string& s) {
  krx::Md5Digest d = krx::Md5(s);
  return Hex(std::string(d.begin(), d.end()));
}

TEST(Md5, Rfc1321Vectors) {
  EXPECT_EQ(DigestHex(""), Hex(Bytes("d41d8cd98f00b204e9800998ecf8427e")));
  EXPECT_EQ(DigestHex("a"), Hex(Bytes("0cc175b9c0f1b6a831c399e269772661")));
  EXPECT_EQ(DigestHex("abc"), Hex(Bytes("900150983cd24fb0d6963f7d28e17f72")));
  EXPECT_EQ(DigestHex("message digest"), Hex(Bytes("f96b697d7cb7938d525a2f31aaf161d0")));
  EXPECT_EQ(DigestHex("abcdefghijklmnopqrstuvwxyz"), Hex(Bytes("c3fcd3d76192e4007dfb496cca67e13b")));
  EXPECT_EQ(DigestHex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            Hex(Bytes("d174ab98d277d9f5a5611c2c9f419d9f")));
  std::string digits;
  for (int i = 0; i < 8; ++i) digits += "1234567890";  // 80 bytes: the length spills into a second block
  EXPECT_EQ(DigestHex(digits), Hex(Bytes("57edf4a22be3c955ac49da2e2107b67a")));
}

// Standard key words: big-endian pairs of key bytes.
krx::IdeaKeyWords StandardWords(const std::string& key) {
  krx::IdeaKeyWords w{};
  for (int i = 0; i < 8; ++i) w[i] = uint16_t(uint8_t(key[2 * i]) << 8 | uint8_t(key[2 * i + 1]));
  return w;
}

std::string Encrypt(const std::string& keyHex, const std::string& plainHex) {
  std::string block = Bytes(plainHex);
  krx::IdeaCryptBlock(reinterpret_cast<uint8_t*>(&block[0]), krx::IdeaExpandKey(StandardWords(Bytes(keyHex))));
  return block;
}

TEST(Idea, PublishedVectorsEncryptAndDecrypt) {
  struct Vector {
    const char* key;
    const char* plain;
    const char* cipher;
  } vectors[] = {
      {"00010002000300040005000600070008", "0000000100020003", "11FBED2B01986DE5"},
      {"00112233445566778899AABBCCDDEEFF", "0001020304050607", "ed732271a7b39f47"},
      {"00112233445566778899AABBCCDDEEFF", "08090a0b0c0d0e0f", "5b4b2b6719f194bf"},
      {"00112233445566778899AABBCCDDEEFF", "f0f1f2f3f4f5f6f7", "b8bc6ed5c899265d"},
      {"31323334353637383930313233343536", "6F7269676E6D7367", "43DA094FC6379D16"},
      {"00000000000000000000000000000001", "0000000000000000", "C57ADBDE27BC26CF"},
  };
  for (const Vector& v : vectors) {
    std::string c = Encrypt(v.key, v.plain);
    EXPECT_EQ(Hex(c), Hex(Bytes(v.cipher))) << v.key;
    krx::IdeaSubkeys dec = krx::IdeaInvertKey(krx::IdeaExpandKey(StandardWords(Bytes(v.key))));
    krx::IdeaCryptBlock(reinterpret_cast<uint8_t*>(&c[0]), dec);
    EXPECT_EQ(Hex(c), Hex(Bytes(v.plain))) << v.key;
  }
}

TEST(RecordCipherKeyWords, LowBytesFromEightyUpAreSigned) {
  std::array<uint8_t, 16> digest{0x12, 0x9A, 0x00, 0x80, 0x7F, 0x7F, 0xFF, 0xFF,
                                 0x00, 0x00, 0x80, 0x7F, 0xAB, 0xCD, 0x01, 0x02};
  krx::IdeaKeyWords w = krx::KeyWordsFromDigest(digest);
  EXPECT_EQ(w[0], 0x119A);  // standard IDEA would give 0x129A
  EXPECT_EQ(w[1], 0xFF80);
  EXPECT_EQ(w[2], 0x7F7F);
  EXPECT_EQ(w[3], 0xFEFF);
  EXPECT_EQ(w[4], 0x0000);
  EXPECT_EQ(w[5], 0x807F);
  EXPECT_EQ(w[6], 0xAACD);
  EXPECT_EQ(w[7], 0x0102);

  // With every low byte below 0x80 the rule gives the standard words.
  std::array<uint8_t, 16> low{};
  for (int i = 0; i < 16; ++i) low[i] = uint8_t(i % 2 ? 0x11 * (i / 2) % 0x80 : 0xF0 - i);
  EXPECT_EQ(krx::KeyWordsFromDigest(low), StandardWords(std::string(low.begin(), low.end())));
}

// Decrypts a sealed string under the default key without the unseal rules,
// to look at the pad bytes themselves.
std::string RawDecrypt(std::string sealed) {
  krx::IdeaSubkeys dec = krx::IdeaInvertKey(krx::IdeaExpandKey(krx::RecordCipherKeyWords("")));
  for (size_t off = 0; off < sealed.size(); off += 8) krx::IdeaCryptBlock(reinterpret_cast<uint8_t*>(&sealed[off]), dec);
  return sealed;
}

TEST(SealString, PadRule) {
  struct Case {
    std::string text;
    int sealedLength;
    std::string pad;
  } cases[] = {
      {"", 8, Bytes("00 00 00 00 00 00 00 08")},
      {"abcde", 8, Bytes("00 00 03")},
      {"1234567", 8, Bytes("01")},
      {"12345678", 16, Bytes("00 00 00 00 00 00 00 08")},
      {"123456789", 16, Bytes("00 00 00 00 00 00 07")},
  };
  for (const Case& c : cases) {
    std::string s = c.text;
    EXPECT_EQ(krx::SealString(s), c.sealedLength) << c.text;
    ASSERT_EQ(int(s.size()), c.sealedLength);
    EXPECT_EQ(Hex(RawDecrypt(s)), Hex(c.text + c.pad)) << c.text;
    std::string back = s;
    EXPECT_EQ(krx::UnsealString(back, back.size()), int(c.text.size()));
    EXPECT_EQ(back, c.text);  // exactly the bytes, no terminator needed
  }
}

// Fixed bytes under the default key: every user.sav and record stamp on
// disk depends on them, so the round trips above are not enough.
TEST(SealString, KnownBytesUnderTheDefaultKey) {
  const struct {
    std::string text;
    const char* sealed;
  } vectors[] = {
      {"", "AB BE 49 59 47 E4 19 00"},
      {"abc", "52 F1 04 2F 2C E8 FE 4F"},
  };
  for (const auto& v : vectors) {
    EXPECT_EQ(Hex(krx::SealedCopy(v.text)), Hex(Bytes(v.sealed))) << '"' << v.text << '"';
    std::string back = Bytes(v.sealed);
    EXPECT_EQ(krx::UnsealString(back, back.size()), int(v.text.size()));
    EXPECT_EQ(back, v.text);
  }
}

TEST(SealString, EmptyKeyIsTheDefaultKey) {
  std::string a = "password", b = "password", c = "password";
  krx::SealString(a);
  krx::SealString(b, krx::kDefaultCipherKey);
  krx::SealString(c, "another key");
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  EXPECT_TRUE(krx::SealedMatches(a, "password"));
  EXPECT_FALSE(krx::SealedMatches(c, "password"));
}

std::string EncryptUnderDefaultKey(std::string plain) {
  krx::IdeaSubkeys enc = krx::IdeaExpandKey(krx::RecordCipherKeyWords(""));
  for (size_t off = 0; off < plain.size(); off += 8) krx::IdeaCryptBlock(reinterpret_cast<uint8_t*>(&plain[off]), enc);
  return plain;
}

TEST(UnsealString, ParameterErrorsAndOutOfRangeResults) {
  krx_test::ParameterErrorCounter errors;

  std::string twelve = "0123456789AB";
  EXPECT_EQ(krx::UnsealString(twelve, 12), -1);
  EXPECT_EQ(twelve, "0123456789AB");
  EXPECT_EQ(errors.count(), 1);

  std::string nine = EncryptUnderDefaultKey(Bytes("41 42 43 44 45 46 47 09"));
  EXPECT_EQ(krx::UnsealString(nine, 8), -1);  // 8 - 9 = -1
  EXPECT_EQ(errors.count(), 2);

  std::string big = EncryptUnderDefaultKey(Bytes("41 42 43 44 45 46 47 80"));
  int n = krx::UnsealString(big, 8);
  EXPECT_EQ(n, 136);  // 8 - (-128)
  EXPECT_EQ(big.size(), 8u);
  EXPECT_FALSE(krx::UnsealedMatches(n, 8, big, big));
  EXPECT_EQ(errors.count(), 2);

  // A zero-length sealed string has no block to read: a silent mismatch.
  std::string empty;
  n = krx::UnsealString(empty, 0);
  EXPECT_FALSE(krx::UnsealedMatches(n, 0, empty, ""));
  EXPECT_EQ(errors.count(), 2);
}

TEST(UnsealString, MatchingIsExactAndCaseSensitive) {
  std::string sealed = krx::SealedCopy("abc");
  EXPECT_TRUE(krx::SealedMatches(sealed, "abc"));
  EXPECT_FALSE(krx::SealedMatches(sealed, "ABC"));
  EXPECT_FALSE(krx::SealedMatches(sealed, "abc "));
  EXPECT_FALSE(krx::SealedMatches(sealed, "ab"));
  std::string withZero("a\0b", 3);
  EXPECT_TRUE(krx::SealedMatches(krx::SealedCopy(withZero), withZero));
  EXPECT_FALSE(krx::SealedMatches(krx::SealedCopy(withZero), "a"));
}

}  // namespace
