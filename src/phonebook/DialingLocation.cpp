#include "phonebook/DialingLocation.h"

#include <cstdint>
#include <string>

#include "devices/RegistryEx.h"

namespace tfm {
namespace {

bool ReadDword(CRegistryEx& key, const char* name, uint32_t& value) {
  return key.QueryBinaryValue(name, &value, sizeof value) && key.LastType() == kRegDword &&
         key.LastSize() == sizeof value;
}

std::string DigitsOf(const std::string& text) {
  std::string digits;
  for (const char c : text) {
    if (c >= '0' && c <= '9' && !(digits.empty() && c == '0')) digits += c;
  }
  return digits;
}

}  // namespace

DialingLocation ReadDialingLocation(IRegistry& registry) {
  const std::string telephony = kTelephonyKey;
  CRegistryEx key(registry, kLocalMachine);
  uint32_t current = 0;
  if (!key.Open(kLocalMachine, telephony + "\\Locations") || !ReadDword(key, "CurrentID", current)) return {};
  uint32_t country = 0;
  std::string areaCode;
  if (!key.Open(kLocalMachine, telephony + "\\Locations\\Location" + std::to_string(current)) ||
      !ReadDword(key, "Country", country))
    return {};
  key.QueryStringValue("AreaCode", areaCode);
  uint32_t callingCode = 0;
  if (!key.Open(kLocalMachine, telephony + "\\Country List\\" + std::to_string(country)) ||
      !ReadDword(key, "CountryCode", callingCode) || callingCode == 0)
    return {};
  return {std::to_string(callingCode), DigitsOf(areaCode)};
}

}  // namespace tfm
