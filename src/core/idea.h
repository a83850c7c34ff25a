#pragma once
// IDEA block cipher: 64-bit blocks, 128-bit key, 8 rounds plus the output
// transformation. The block routine is standard; how the key words are made
// from key bytes is left to the caller (the record cipher has its own rule).
#include <array>
#include <cstdint>

namespace krx {

using IdeaKeyWords = std::array<uint16_t, 8>;
using IdeaSubkeys = std::array<uint16_t, 52>;

// Standard expansion: Z1..Z8 = K1..K8, every further eight are the 128-bit key
// rotated left by 25 bits.
IdeaSubkeys IdeaExpandKey(const IdeaKeyWords& key);
// Standard inversion of the encryption subkeys for decryption.
IdeaSubkeys IdeaInvertKey(const IdeaSubkeys& encrypt);
// Transforms one 8-byte block in place; words are big-endian.
void IdeaCryptBlock(uint8_t block[8], const IdeaSubkeys& subkeys);

}  // namespace krx
