#pragma once
// Helpers for tests that compare against wire bytes written out by hand.
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "capi/CapiMessage.h"
#include "capi/CapiMessageCodec.h"

namespace tfm::test {

using Bytes = std::vector<uint8_t>;

// A wire message: header (length computed) followed by the given parameter bytes.
inline Bytes Wire(uint16_t applId, uint8_t command, uint8_t subcommand, uint16_t messageNumber,
                  std::initializer_list<Bytes> parameters) {
  Bytes out(8);
  for (const Bytes& p : parameters) out.insert(out.end(), p.begin(), p.end());
  out[0] = static_cast<uint8_t>(out.size());
  out[1] = static_cast<uint8_t>(out.size() >> 8);
  out[2] = static_cast<uint8_t>(applId);
  out[3] = static_cast<uint8_t>(applId >> 8);
  out[4] = command;
  out[5] = subcommand;
  out[6] = static_cast<uint8_t>(messageNumber);
  out[7] = static_cast<uint8_t>(messageNumber >> 8);
  return out;
}

inline Bytes Dword(uint32_t v) {
  return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 24)};
}
inline Bytes Word(uint16_t v) { return {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)}; }

// The struct's wire bytes as a vector, for comparisons; empty vector for null.
inline Bytes StructBytes(CapiStruct s) {
  if (!s) return {};
  return Bytes(s, s + CapiStructWireLength(s));
}

inline Bytes Pack(CMsg& cmsg, size_t capacity = 2048) {
  Bytes buffer(capacity);
  if (CMsgPack(cmsg, buffer.data(), buffer.size()) != 0) return {};
  buffer.resize(cmsg.walkOffset);
  return buffer;
}

}  // namespace tfm::test
