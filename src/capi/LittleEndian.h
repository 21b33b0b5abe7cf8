#pragma once
// Fixed-width little-endian loads and stores at any alignment: one copy of the whole word or dword,
// byte-swapped only on a big-endian host. The wire form of every COMMON-ISDN-API integer.
#include <bit>
#include <cstdint>
#include <cstring>

namespace tfm {

constexpr uint16_t ByteSwap16(uint16_t v) { return static_cast<uint16_t>((v >> 8) | (v << 8)); }
constexpr uint32_t ByteSwap32(uint32_t v) {
  return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

inline uint16_t LoadLe16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = ByteSwap16(v);
  return v;
}

inline uint32_t LoadLe32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::big) v = ByteSwap32(v);
  return v;
}

inline void StoreLe16(uint8_t* p, uint16_t v) {
  if constexpr (std::endian::native == std::endian::big) v = ByteSwap16(v);
  std::memcpy(p, &v, sizeof v);
}

inline void StoreLe32(uint8_t* p, uint32_t v) {
  if constexpr (std::endian::native == std::endian::big) v = ByteSwap32(v);
  std::memcpy(p, &v, sizeof v);
}

}  // namespace tfm
