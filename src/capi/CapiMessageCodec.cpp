#include "capi/CapiMessageCodec.h"

#include <cstring>

#include "capi/CapiEntryPoints.h"
#include "capi/CapiParameterTables.h"
#include "capi/LittleEndian.h"

namespace tfm {
namespace {

constexpr uint8_t kStructEscape = 0xFF;
constexpr size_t kEscapedHeaderLength = 3;
constexpr size_t kMaxWireLength = 0xFFFF;
// The lists nest one level deep (B protocol, Additional Info); the walkers refuse anything deeper.
constexpr int kMaxNesting = 2;

// Integer fields are stored in host order at their exact width, struct fields as pointers.
template <class T>
T LoadField(const CMsg& cmsg, uint32_t offset) {
  T value;
  std::memcpy(&value, reinterpret_cast<const uint8_t*>(&cmsg) + offset, sizeof value);
  return value;
}

template <class T>
void StoreField(CMsg& cmsg, uint32_t offset, T value) {
  std::memcpy(reinterpret_cast<uint8_t*>(&cmsg) + offset, &value, sizeof value);
}

// Copies length bytes, inline for the few octets most structs have: two fixed-width moves that may
// overlap cover any length from a width to twice it, with no call.
template <class Word>
void CopyOverlapping(uint8_t* to, const uint8_t* from, size_t length) {
  Word head, tail;
  std::memcpy(&head, from, sizeof head);
  std::memcpy(&tail, from + length - sizeof tail, sizeof tail);
  std::memcpy(to, &head, sizeof head);
  std::memcpy(to + length - sizeof tail, &tail, sizeof tail);
}

void CopyBytes(uint8_t* to, const uint8_t* from, size_t length) {
  if (length == 1) {
    *to = *from;
  } else if (length < 4) {
    CopyOverlapping<uint16_t>(to, from, length);
  } else if (length < 8) {
    CopyOverlapping<uint32_t>(to, from, length);
  } else if (length <= 16) {
    CopyOverlapping<uint64_t>(to, from, length);
  } else {
    std::memcpy(to, from, length);
  }
}

// The list position after the end row that closes the run beginning at position.
size_t SkipRun(const uint8_t* list, size_t position) {
  for (int depth = 1; depth > 0;) {
    const ParamType type = kParamDescriptors[list[position++]].type;
    if (type == kParamNested) ++depth;
    if (type == kParamEnd) --depth;
  }
  return position;
}

// Hands the walk's final state to the message's working fields.
bool FinishWalk(CMsg& cmsg, size_t position, size_t offset, bool result) {
  cmsg.walkPosition = static_cast<uint32_t>(position);
  cmsg.walkOffset = static_cast<uint32_t>(offset);
  return result;
}

// Writes the parameters of cmsg's active list after the header. The walk's state is kept in locals so
// that it stays in registers while bytes are written; false when the message does not fit. The codes
// are tested in the order of how often messages carry them: a chain of predictable comparisons packs
// faster here than a jump table.
bool PackParameters(CMsg& cmsg, const uint8_t* list, uint8_t* buffer, size_t capacity) {
  size_t position = 0;
  size_t offset = kCapiHeaderLength;
  size_t innerStarts[kMaxNesting];  // where the inner part of each open nested struct begins
  int depth = 0;
  for (;;) {
    const ParamDescriptor& row = kParamDescriptors[list[position++]];
    const size_t room = capacity - offset;
    const ParamType type = row.type;
    if (type == kParamDword) {
      if (room < 4) return FinishWalk(cmsg, position, offset, false);
      StoreLe32(buffer + offset, LoadField<uint32_t>(cmsg, row.offset));
      offset += 4;
    } else if (type == kParamStruct) {
      const CapiStruct s = LoadField<CapiStruct>(cmsg, row.offset);
      const size_t length = CapiStructWireLength(s);
      if (room < length) return FinishWalk(cmsg, position, offset, false);
      if (s) {
        CopyBytes(buffer + offset, s, length);
      } else {
        buffer[offset] = 0;
      }
      offset += length;
    } else if (type == kParamWord) {
      if (room < 2) return FinishWalk(cmsg, position, offset, false);
      StoreLe16(buffer + offset, LoadField<uint16_t>(cmsg, row.offset));
      offset += 2;
    } else if (type == kParamEnd) {
      if (depth == 0) return FinishWalk(cmsg, position, offset, true);
      const size_t start = innerStarts[--depth];
      const size_t inner = offset - start;
      if (inner < kStructEscape) {
        buffer[start - 1] = static_cast<uint8_t>(inner);
        continue;
      }
      if (room < kEscapedHeaderLength - 1) return FinishWalk(cmsg, position, offset, false);
      std::memmove(buffer + start + 2, buffer + start, inner);
      buffer[start - 1] = kStructEscape;
      StoreLe16(buffer + start, static_cast<uint16_t>(inner));
      offset += 2;
    } else if (type == kParamNested) {
      if (room < 1) return FinishWalk(cmsg, position, offset, false);
      buffer[offset++] = 0;  // empty, or the length byte set when the inner run ends
      if (LoadField<uint32_t>(cmsg, row.offset) != 0) {
        position = SkipRun(list, position);
      } else {
        if (depth == kMaxNesting) return FinishWalk(cmsg, position, offset, false);
        innerStarts[depth++] = offset;
      }
    } else if (type == kParamByte) {
      if (room < 1) return FinishWalk(cmsg, position, offset, false);
      buffer[offset++] = LoadField<uint8_t>(cmsg, row.offset);
    }
  }
}

// Reads the length of the struct at offset; false when it does not fit before limit.
bool StructAt(const uint8_t* message, size_t offset, size_t limit, size_t& header, size_t& length) {
  if (offset >= limit) return false;
  if (message[offset] != kStructEscape) {
    header = 1;
    length = message[offset];
  } else {
    if (limit - offset < kEscapedHeaderLength) return false;
    header = kEscapedHeaderLength;
    length = LoadLe16(message + offset + 1);
  }
  return header + length <= limit - offset;
}

// Reads the parameters of cmsg's active list from message; nothing at or beyond total is read. Inner
// parameters are bounded by their nested struct's own length, and what a later edition of the standard
// added after the ones we know is stepped over. The walk's state is kept in locals and the codes are
// tested in the order of how often messages carry them, as in packing.
bool UnpackParameters(CMsg& cmsg, const uint8_t* list, const uint8_t* message, size_t total) {
  size_t position = 0;
  size_t offset = kCapiHeaderLength;
  size_t limit = total;
  size_t outerLimits[kMaxNesting];  // the enclosing limit of each open nested struct
  int depth = 0;
  for (;;) {
    const ParamDescriptor& row = kParamDescriptors[list[position++]];
    const ParamType type = row.type;
    if (type == kParamStruct) {
      size_t header, length;
      if (!StructAt(message, offset, limit, header, length)) return false;
      StoreField<CapiStruct>(cmsg, row.offset, message + offset);
      offset += header + length;
    } else if (type == kParamDword) {
      if (limit - offset < 4) return false;
      StoreField<uint32_t>(cmsg, row.offset, LoadLe32(message + offset));
      offset += 4;
    } else if (type == kParamWord) {
      if (limit - offset < 2) return false;
      StoreField<uint16_t>(cmsg, row.offset, LoadLe16(message + offset));
      offset += 2;
    } else if (type == kParamEnd) {
      if (depth == 0) return FinishWalk(cmsg, position, offset, true);
      offset = limit;
      limit = outerLimits[--depth];
    } else if (type == kParamNested) {
      size_t header, length;
      if (!StructAt(message, offset, limit, header, length)) return false;
      offset += header;
      if (length == 0) {
        StoreField<uint32_t>(cmsg, row.offset, 1);
        position = SkipRun(list, position);
        continue;
      }
      if (depth == kMaxNesting) return false;
      StoreField<uint32_t>(cmsg, row.offset, 0);
      outerLimits[depth++] = limit;
      limit = offset + length;
    } else if (type == kParamByte) {
      if (limit - offset < 1) return false;
      StoreField<uint8_t>(cmsg, row.offset, message[offset]);
      offset += 1;
    }
  }
}

// Makes the list of cmsg's Command and Subcommand the active one and returns it (null: no such
// message). The walkers take it from here rather than reading it back from cmsg.
const uint8_t* SelectList(CMsg& cmsg) {
  cmsg.activeList = FindParameterList(cmsg.Command, cmsg.Subcommand);
  cmsg.walkPosition = 0;
  cmsg.walkOffset = kCapiHeaderLength;
  return cmsg.activeList;
}

void ReadHeader(CMsg& cmsg, const uint8_t* message) {
  cmsg.ApplId = LoadLe16(message + 2);
  cmsg.Command = message[4];
  cmsg.Subcommand = message[5];
  cmsg.Messagenumber = LoadLe16(message + 6);
}

}  // namespace

size_t CapiStructContentLength(CapiStruct s) {
  if (!s) return 0;
  return s[0] == kStructEscape ? LoadLe16(s + 1) : s[0];
}

const uint8_t* CapiStructContent(CapiStruct s) {
  if (!s) return nullptr;
  return s + (s[0] == kStructEscape ? kEscapedHeaderLength : 1);
}

size_t CapiStructWireLength(CapiStruct s) {
  if (!s) return 1;
  return static_cast<size_t>(CapiStructContent(s) - s) + CapiStructContentLength(s);
}

uint32_t CMsgPack(CMsg& cmsg, uint8_t* buffer, size_t capacity) {
  const uint8_t* const list = SelectList(cmsg);
  if (!list) return kCapiIllegalCommand;
  cmsg.wireMessage = buffer;
  if (capacity > kMaxWireLength) capacity = kMaxWireLength;
  if (capacity < kCapiHeaderLength) return kCapiIllegalParameterCoding;
  if (!PackParameters(cmsg, list, buffer, capacity)) return kCapiIllegalParameterCoding;
  StoreLe16(buffer, static_cast<uint16_t>(cmsg.walkOffset));
  StoreLe16(buffer + 2, cmsg.ApplId);
  buffer[4] = cmsg.Command;
  buffer[5] = cmsg.Subcommand;
  StoreLe16(buffer + 6, cmsg.Messagenumber);
  return 0;
}

uint32_t CMsgUnpack(CMsg& cmsg, const void* message) {
  const auto* bytes = static_cast<const uint8_t*>(message);
  cmsg = CMsg{};
  cmsg.wireMessage = bytes;
  const uint16_t total = LoadLe16(bytes);
  if (total < kCapiMinimumMessageLength) return kCapiIllegalCommand;
  cmsg.Command = bytes[4];
  cmsg.Subcommand = bytes[5];
  const uint8_t* const list = SelectList(cmsg);
  if (!list) return kCapiIllegalCommand;
  if (!UnpackParameters(cmsg, list, bytes, total)) {
    // Every message begins with its address, which a message of at least the minimum length holds:
    // the header and the address stay readable, so that the receiver can still answer a damaged one.
    cmsg = CMsg{};
    cmsg.wireMessage = bytes;
    cmsg.Address = LoadLe32(bytes + kCapiHeaderLength);
    ReadHeader(cmsg, bytes);
    return kCapiIllegalParameterCoding;
  }
  cmsg.walkOffset = total;
  ReadHeader(cmsg, bytes);
  return 0;
}

}  // namespace tfm
