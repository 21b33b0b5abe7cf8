#pragma once
#include <cstdint>
#include <string>

namespace tfm {

// English text for a COMMON-ISDN-API Info, Reason or Reason_B3 value. The whole 32-bit value is
// compared, so an entry point result above 0xFFFF gives the default "Unknown Error Nr.: 0x%X".
// Safe to use from any thread. It allocates nothing: a text of the table is pointed at, the default
// text is composed in the object itself.
class InfoText {
 public:
  explicit InfoText(uint32_t value);
  const char* c_str() const { return m_known ? m_known : m_composed; }

 private:
  const char* m_known;
  char m_composed[32];
};

// The same text as a string, for callers that keep it.
std::string GetInfoText(uint32_t value);

}  // namespace tfm
