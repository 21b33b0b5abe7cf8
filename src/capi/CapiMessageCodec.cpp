#include "capi/CapiMessageCodec.h"

#include <cstring>

#include "capi/CapiEntryPoints.h"
#include "capi/CapiParameterTables.h"

namespace tfm {
namespace {

constexpr uint8_t kStructEscape = 0xFF;
constexpr size_t kEscapedHeaderLength = 3;
constexpr size_t kMaxWireLength = 0xFFFF;

uint16_t ReadLe16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

void WriteLe(uint8_t* p, uint32_t value, size_t length) {
  for (size_t i = 0; i < length; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

uint32_t ReadLe(const uint8_t* p, size_t length) {
  uint32_t value = 0;
  for (size_t i = 0; i < length; ++i) value |= static_cast<uint32_t>(p[i]) << (8 * i);
  return value;
}

size_t ValueLength(uint32_t type) { return type == kParamByte ? 1 : type == kParamWord ? 2 : 4; }

uint8_t* FieldOf(CMsg& cmsg, const ParamDescriptor& row) { return reinterpret_cast<uint8_t*>(&cmsg) + row.offset; }

// Integer fields of any width are stored in host order; copy through the exact width.
uint32_t LoadField(CMsg& cmsg, const ParamDescriptor& row) {
  const uint8_t* field = FieldOf(cmsg, row);
  switch (row.type) {
    case kParamByte: return *field;
    case kParamWord: { uint16_t v; std::memcpy(&v, field, sizeof v); return v; }
    default: { uint32_t v; std::memcpy(&v, field, sizeof v); return v; }
  }
}

void StoreField(CMsg& cmsg, const ParamDescriptor& row, uint32_t value) {
  uint8_t* field = FieldOf(cmsg, row);
  switch (row.type) {
    case kParamByte: *field = static_cast<uint8_t>(value); break;
    case kParamWord: { const auto v = static_cast<uint16_t>(value); std::memcpy(field, &v, sizeof v); break; }
    default: std::memcpy(field, &value, sizeof value); break;
  }
}

const ParamDescriptor& NextRow(CMsg& cmsg) { return kParamDescriptors[cmsg.activeList[cmsg.walkPosition++]]; }

// Steps over the inner rows of a nested parameter, up to and including its end row.
void SkipRun(CMsg& cmsg) {
  for (int depth = 1; depth > 0;) {
    const uint32_t type = NextRow(cmsg).type;
    if (type == kParamNested) ++depth;
    if (type == kParamEnd) --depth;
  }
}

class Packer {
 public:
  Packer(CMsg& cmsg, uint8_t* buffer, size_t capacity) : m_cmsg(cmsg), m_buffer(buffer), m_capacity(capacity) {}

  // Packs rows from the walk position up to the end row of the current run.
  bool PackRun() {
    for (;;) {
      const ParamDescriptor& row = NextRow(m_cmsg);
      switch (row.type) {
        case kParamEnd:
          return true;
        case kParamStruct: {
          CapiStruct s;
          std::memcpy(&s, FieldOf(m_cmsg, row), sizeof s);
          if (!s) {
            if (!PutZero()) return false;
          } else if (!Put(s, CapiStructWireLength(s))) {
            return false;
          }
          break;
        }
        case kParamNested:
          if (!PackNested(LoadField(m_cmsg, row) != 0)) return false;
          break;
        default: {
          uint8_t bytes[4];
          const size_t length = ValueLength(row.type);
          WriteLe(bytes, LoadField(m_cmsg, row), length);
          if (!Put(bytes, length)) return false;
        }
      }
    }
  }

 private:
  bool Room(size_t length) const { return length <= m_capacity - m_cmsg.walkOffset; }

  bool Put(const uint8_t* bytes, size_t length) {
    if (!Room(length)) return false;
    std::memcpy(m_buffer + m_cmsg.walkOffset, bytes, length);
    m_cmsg.walkOffset += static_cast<uint32_t>(length);
    return true;
  }

  bool PutZero() {
    const uint8_t zero = 0;
    return Put(&zero, 1);
  }

  bool PackNested(bool empty) {
    if (empty) {
      SkipRun(m_cmsg);
      return PutZero();
    }
    if (!PutZero()) return false;  // the length byte, set below
    const uint32_t start = m_cmsg.walkOffset;
    if (!PackRun()) return false;
    const size_t inner = m_cmsg.walkOffset - start;
    if (inner < kStructEscape) {
      m_buffer[start - 1] = static_cast<uint8_t>(inner);
      return true;
    }
    if (!Room(kEscapedHeaderLength - 1)) return false;
    std::memmove(m_buffer + start + 2, m_buffer + start, inner);
    m_buffer[start - 1] = kStructEscape;
    WriteLe(m_buffer + start, static_cast<uint32_t>(inner), 2);
    m_cmsg.walkOffset += 2;
    return true;
  }

  CMsg& m_cmsg;
  uint8_t* m_buffer;
  size_t m_capacity;
};

class Unpacker {
 public:
  Unpacker(CMsg& cmsg, const uint8_t* message) : m_cmsg(cmsg), m_message(message) {}

  // Unpacks rows from the walk position up to the end row of the current run; nothing at or beyond
  // limit is read.
  bool UnpackRun(uint32_t limit) {
    for (;;) {
      const ParamDescriptor& row = NextRow(m_cmsg);
      switch (row.type) {
        case kParamEnd:
          return true;
        case kParamStruct: {
          uint32_t header, length;
          if (!StructAt(limit, header, length)) return false;
          const uint8_t* s = m_message + m_cmsg.walkOffset;
          std::memcpy(FieldOf(m_cmsg, row), &s, sizeof s);
          m_cmsg.walkOffset += header + length;
          break;
        }
        case kParamNested: {
          uint32_t header, length;
          if (!StructAt(limit, header, length)) return false;
          m_cmsg.walkOffset += header;
          if (length == 0) {
            StoreField(m_cmsg, row, 1);
            SkipRun(m_cmsg);
            break;
          }
          StoreField(m_cmsg, row, 0);
          // Inner parameters are bounded by the nested struct's own length; what a later edition of
          // the standard added after the ones we know is stepped over.
          const uint32_t end = m_cmsg.walkOffset + length;
          if (!UnpackRun(end)) return false;
          m_cmsg.walkOffset = end;
          break;
        }
        default: {
          const size_t length = ValueLength(row.type);
          if (length > limit - m_cmsg.walkOffset) return false;
          StoreField(m_cmsg, row, ReadLe(m_message + m_cmsg.walkOffset, length));
          m_cmsg.walkOffset += static_cast<uint32_t>(length);
        }
      }
    }
  }

 private:
  // Reads the length of the struct at the walk offset; false when it does not fit before limit.
  bool StructAt(uint32_t limit, uint32_t& header, uint32_t& length) const {
    const uint32_t at = m_cmsg.walkOffset;
    if (at >= limit) return false;
    if (m_message[at] != kStructEscape) {
      header = 1;
      length = m_message[at];
    } else {
      if (limit - at < kEscapedHeaderLength) return false;
      header = kEscapedHeaderLength;
      length = ReadLe16(m_message + at + 1);
    }
    return header + length <= limit - at;
  }

  CMsg& m_cmsg;
  const uint8_t* m_message;
};

bool SelectList(CMsg& cmsg) {
  cmsg.activeList = FindParameterList(cmsg.Command, cmsg.Subcommand);
  cmsg.walkPosition = 0;
  cmsg.walkOffset = kCapiHeaderLength;
  return cmsg.activeList != nullptr;
}

}  // namespace

size_t CapiStructContentLength(CapiStruct s) {
  if (!s) return 0;
  return s[0] == kStructEscape ? ReadLe16(s + 1) : s[0];
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
  if (!SelectList(cmsg)) return kCapiIllegalCommand;
  cmsg.wireMessage = buffer;
  if (capacity > kMaxWireLength) capacity = kMaxWireLength;
  if (capacity < kCapiHeaderLength) return kCapiIllegalParameterCoding;
  Packer packer(cmsg, buffer, capacity);
  if (!packer.PackRun()) return kCapiIllegalParameterCoding;
  WriteLe(buffer, cmsg.walkOffset, 2);
  WriteLe(buffer + 2, cmsg.ApplId, 2);
  buffer[4] = cmsg.Command;
  buffer[5] = cmsg.Subcommand;
  WriteLe(buffer + 6, cmsg.Messagenumber, 2);
  return 0;
}

uint32_t CMsgUnpack(CMsg& cmsg, const void* message) {
  const auto* bytes = static_cast<const uint8_t*>(message);
  cmsg = CMsg{};
  cmsg.wireMessage = bytes;
  const uint16_t total = ReadLe16(bytes);
  if (total < kCapiMinimumMessageLength) return kCapiIllegalCommand;
  cmsg.Command = bytes[4];
  cmsg.Subcommand = bytes[5];
  if (!SelectList(cmsg)) return kCapiIllegalCommand;
  Unpacker unpacker(cmsg, bytes);
  if (!unpacker.UnpackRun(total)) {
    cmsg = CMsg{};
    return kCapiIllegalParameterCoding;
  }
  cmsg.walkOffset = total;
  cmsg.ApplId = ReadLe16(bytes + 2);
  cmsg.Messagenumber = ReadLe16(bytes + 6);
  return 0;
}

}  // namespace tfm
