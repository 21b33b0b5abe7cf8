#pragma once
// The two walkers between CMsg and the wire form. Neither allocates: packing writes into the caller's
// buffer, unpacking leaves struct fields pointing into the message.
#include <cstddef>
#include <cstdint>

#include "capi/CapiMessage.h"

namespace tfm {

// Writes the wire message for cmsg's Command and Subcommand into buffer. Returns 0, 0x1102 when the
// standard defines no such message, or 0x2007 when the message does not fit into capacity bytes.
uint32_t CMsgPack(CMsg& cmsg, uint8_t* buffer, size_t capacity);

// Clears cmsg and fills it from the wire message; struct fields point into message. The header's
// length is the only bound there is: nothing at or beyond it is read. Returns 0, 0x1102 for a message
// shorter than 12 bytes or one the standard does not define, 0x2007 when a parameter runs past the
// stated length (cmsg then holds the header and the address only). Parameters after the known ones
// are ignored.
uint32_t CMsgUnpack(CMsg& cmsg, const void* message);

}  // namespace tfm
