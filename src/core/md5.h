#pragma once
// MD5 message digest (RFC 1321). Used only to turn a key string into the
// 16-byte cipher key; not for anything that needs collision resistance.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace krx {

using Md5Digest = std::array<uint8_t, 16>;

Md5Digest Md5(const void* data, size_t length);
inline Md5Digest Md5(const std::string& s) { return Md5(s.data(), s.size()); }

}  // namespace krx
