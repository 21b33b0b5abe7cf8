#pragma once
// The tables that drive the message walkers: one descriptor row per parameter, one parameter list per
// message in the standard's wire order, and the 79-slot table that maps command and subcommand to a list.
#include <cstddef>
#include <cstdint>

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
  uint32_t type;
  uint32_t offset;  // offset of the addressed field in CMsg
};

inline constexpr size_t kParamDescriptorCount = 49;
extern const ParamDescriptor kParamDescriptors[kParamDescriptorCount];

inline constexpr size_t kListSlotCount = 79;
// The slot table itself; an empty slot holds null.
extern const uint8_t* const kParameterListSlots[kListSlotCount];

// Command index of a command byte the standard defines, or -1 for any other byte: 0x01..0x0F map to
// themselves, SELECT_B_PROTOCOL to 10, 0x80..0xFF to (command & 0x0F) + 9.
int CapiCommandIndex(uint8_t command);

// The list for a command and subcommand (REQ, CONF, IND or RESP), or null when the standard defines
// no such message.
const uint8_t* FindParameterList(uint8_t command, uint8_t subcommand);

}  // namespace tfm
