#pragma once
// The tables that drive the message walkers: one descriptor row per parameter, one parameter list per
// message in the standard's wire order, and the 79-slot table that maps command and subcommand to a list.
#include <array>
#include <cstddef>
#include <cstdint>

#include "capi/CapiMessage.h"

namespace tfm {

enum ParamType : uint32_t {
  kParamByte = 1,
  kParamWord = 2,
  kParamDword = 3,
  kParamStruct = 5,
  kParamNested = 6,  // begins a run of inner rows closed by a kParamEnd row
  kParamEnd = 7,
};

struct ParamDescriptor {
  ParamType type;
  uint32_t offset;  // offset of the addressed field in CMsg
};

inline constexpr size_t kParamDescriptorCount = 49;
extern const ParamDescriptor kParamDescriptors[kParamDescriptorCount];

inline constexpr size_t kListSlotCount = 79;
inline constexpr size_t kSlotsPerSubcommand = 18;
// The slot table itself; an empty slot holds null.
extern const uint8_t* const kParameterListSlots[kListSlotCount];

// Command index of every command byte, -1 for a byte the standard does not define: 0x01..0x0F map to
// themselves, SELECT_B_PROTOCOL to 10, 0x80..0xFF to (command & 0x0F) + 9. A table rather than a
// switch, because every pack and unpack begins with this look-up.
extern const std::array<int8_t, 256> kCommandIndexes;

// The list for a command and subcommand (REQ, CONF, IND or RESP), or null when the standard defines
// no such message. Slot = command index + 18 * (subcommand & 3).
inline const uint8_t* FindParameterList(uint8_t command, uint8_t subcommand) {
  const int index = kCommandIndexes[command];
  if (index < 0 || subcommand < kCapiReq || subcommand > kCapiResp) return nullptr;
  return kParameterListSlots[static_cast<size_t>(index) + kSlotsPerSubcommand * (subcommand & 3u)];
}

}  // namespace tfm
