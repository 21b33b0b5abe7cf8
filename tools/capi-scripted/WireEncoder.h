#pragma once
// A tiny encoder of COMMON-ISDN-API 2.0 indications, written from the standard's message layouts for
// the scripted provider. It shares nothing with the monitor's message layer on purpose: the scripted
// messages are an independent check of that layer.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace scripted {

using Bytes = std::vector<uint8_t>;
using Fields = std::map<std::string, std::string>;

// Builds the message `kind` (connect_ind, disconnect_ind, info_ind, connect_b3_ind,
// connect_b3_active_ind, disconnect_b3_ind, data_b3_ind, listen_conf) from key=value fields. The
// header's ApplId and message number are patched in at delivery. Returns false with a reason in
// `error` for an unknown kind or field value.
bool EncodeMessage(const std::string& kind, const Fields& fields, Bytes& message, std::string& error);

// Sets the header's ApplId and message number (bytes 2..3 and 6..7).
void PatchHeader(Bytes& message, uint16_t applId, uint16_t messageNumber);

// Parses hex digits (blanks allowed between bytes); false on an odd count or a non-hex character.
bool ParseHex(const std::string& text, Bytes& bytes);
std::string ToHex(const uint8_t* bytes, size_t length);

}  // namespace scripted
