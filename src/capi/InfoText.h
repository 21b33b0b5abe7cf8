#pragma once
#include <cstdint>
#include <string>

namespace tfm {

// English text for a COMMON-ISDN-API Info, Reason or Reason_B3 value. The whole 32-bit value is
// compared, so an entry point result above 0xFFFF gives the default "Unknown Error Nr.: 0x%X".
// Safe to call from any thread.
std::string GetInfoText(uint32_t value);

}  // namespace tfm
