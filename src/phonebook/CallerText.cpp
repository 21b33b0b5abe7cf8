#include "phonebook/CallerText.h"

#include <algorithm>
#include <cstdio>

namespace tfm {

CallerText::CallerText(std::string_view number, std::string_view name) {
  const int numberLength = static_cast<int>(std::min(number.size(), kNumberMaxLength));
  const int nameLength = static_cast<int>(std::min(name.size(), kPhoneNameMaxLength));
  // Numbers and names are data: arguments, never the format.
  if (number.empty()) {
    std::snprintf(m_text, sizeof m_text, "%s", kWithheldCaller);
  } else if (name.empty()) {
    std::snprintf(m_text, sizeof m_text, "%.*s", numberLength, number.data());
  } else {
    std::snprintf(m_text, sizeof m_text, "%.*s (%.*s)", nameLength, name.data(), numberLength, number.data());
  }
}

}  // namespace tfm
