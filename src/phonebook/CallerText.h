#pragma once
// How the caller of a call is told, alike in the tooltip, the balloon and the event record.
#include <cstddef>
#include <string_view>

#include "phonebook/PhoneBookText.h"

namespace tfm {

// The word for a caller whose number the network did not pass on.
inline constexpr char kWithheldCaller[] = "withheld";

// "<name> (<number>)" when the phone book names the number, the number alone when it does not, and
// "withheld" without a number. Composed in place (the ISDN monitor's pass allocates nothing); a number
// or name longer than the call log or the book holds is cut.
class CallerText {
 public:
  static constexpr size_t kNumberMaxLength = 255;  // the longest number a call's record carries

  CallerText(std::string_view number, std::string_view name);
  const char* c_str() const { return m_text; }

 private:
  char m_text[kPhoneNameMaxLength + kNumberMaxLength + sizeof " ()"];
};

}  // namespace tfm
