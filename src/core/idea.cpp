#include "core/idea.h"

namespace krx {
namespace {

// Multiplication modulo 65537 where the word 0 stands for 65536.
uint16_t Mul(uint16_t a, uint16_t b) {
  if (a == 0) return uint16_t(1 - b);
  if (b == 0) return uint16_t(1 - a);
  uint32_t p = uint32_t(a) * b;
  uint16_t lo = uint16_t(p), hi = uint16_t(p >> 16);
  return uint16_t(lo - hi + (lo < hi ? 1 : 0));
}

// Multiplicative inverse modulo 65537; 0 and 1 are their own inverses.
uint16_t MulInv(uint16_t x) {
  if (x <= 1) return x;
  // Extended Euclid on (65537, x).
  int32_t t0 = 0, t1 = 1, r0 = 65537, r1 = x;
  while (r1 != 0) {
    int32_t q = r0 / r1;
    int32_t r = r0 - q * r1;
    r0 = r1;
    r1 = r;
    int32_t t = t0 - q * t1;
    t0 = t1;
    t1 = t;
  }
  if (t0 < 0) t0 += 65537;
  return uint16_t(t0);
}

uint16_t AddInv(uint16_t x) { return uint16_t(0 - x); }

}  // namespace

IdeaSubkeys IdeaExpandKey(const IdeaKeyWords& key) {
  // Keep the 128-bit key as two 64-bit halves, K1 in the top bits of hi.
  uint64_t hi = 0, lo = 0;
  for (int i = 0; i < 4; ++i) hi = (hi << 16) | key[i];
  for (int i = 4; i < 8; ++i) lo = (lo << 16) | key[i];
  IdeaSubkeys z{};
  int n = 0;
  while (true) {
    for (int i = 0; i < 8 && n < 52; ++i, ++n) {
      z[n] = uint16_t(i < 4 ? hi >> (48 - 16 * i) : lo >> (48 - 16 * (i - 4)));
    }
    if (n >= 52) break;
    uint64_t newHi = (hi << 25) | (lo >> 39);
    uint64_t newLo = (lo << 25) | (hi >> 39);
    hi = newHi;
    lo = newLo;
  }
  return z;
}

IdeaSubkeys IdeaInvertKey(const IdeaSubkeys& z) {
  IdeaSubkeys d{};
  // Round r of decryption uses the subkeys of encryption round 9 - r; the two
  // added subkeys swap places in the inner rounds.
  for (int r = 0; r <= 8; ++r) {
    int src = 48 - 6 * r;  // first of the four subkeys of the matching encryption step
    bool inner = r > 0 && r < 8;
    d[6 * r + 0] = MulInv(z[src + 0]);
    d[6 * r + 1] = AddInv(z[src + (inner ? 2 : 1)]);
    d[6 * r + 2] = AddInv(z[src + (inner ? 1 : 2)]);
    d[6 * r + 3] = MulInv(z[src + 3]);
    if (r < 8) {
      d[6 * r + 4] = z[src - 2];
      d[6 * r + 5] = z[src - 1];
    }
  }
  return d;
}

void IdeaCryptBlock(uint8_t block[8], const IdeaSubkeys& z) {
  uint16_t x1 = uint16_t(block[0] << 8 | block[1]);
  uint16_t x2 = uint16_t(block[2] << 8 | block[3]);
  uint16_t x3 = uint16_t(block[4] << 8 | block[5]);
  uint16_t x4 = uint16_t(block[6] << 8 | block[7]);
  const uint16_t* k = z.data();
  for (int round = 0; round < 8; ++round, k += 6) {
    x1 = Mul(x1, k[0]);
    x2 = uint16_t(x2 + k[1]);
    x3 = uint16_t(x3 + k[2]);
    x4 = Mul(x4, k[3]);
    uint16_t t0 = Mul(uint16_t(x1 ^ x3), k[4]);
    uint16_t t1 = Mul(uint16_t(t0 + (x2 ^ x4)), k[5]);
    t0 = uint16_t(t0 + t1);
    x1 ^= t1;
    x4 ^= t0;
    uint16_t swap = x2 ^ t0;
    x2 = x3 ^ t1;
    x3 = swap;
  }
  // Output transformation undoes the last swap of the middle words.
  uint16_t y1 = Mul(x1, k[0]);
  uint16_t y2 = uint16_t(x3 + k[1]);
  uint16_t y3 = uint16_t(x2 + k[2]);
  uint16_t y4 = Mul(x4, k[3]);
  const uint16_t out[4] = {y1, y2, y3, y4};
  for (int i = 0; i < 4; ++i) {
    block[2 * i] = uint8_t(out[i] >> 8);
    block[2 * i + 1] = uint8_t(out[i]);
  }
}

}  // namespace krx
