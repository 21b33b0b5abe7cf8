#include "phonebook/PhoneNumberKey.h"

namespace tfm {
namespace {

constexpr bool IsFiller(char c) {
  return c == ' ' || c == '-' || c == '/' || c == '.' || c == '(' || c == ')';
}

}  // namespace

std::string NumberKey(std::string_view number, const DialingLocation& location) {
  std::string digits;
  bool plus = false;
  for (const char c : number) {
    if (c >= '0' && c <= '9') {
      digits += c;
    } else if (c == '+' && digits.empty() && !plus) {
      plus = true;
    } else if (!IsFiller(c)) {
      return {};
    }
  }
  if (plus) return digits.empty() ? std::string() : "+" + digits;
  if (digits.starts_with("00")) return digits.size() > 2 ? "+" + digits.substr(2) : std::string();
  if (digits.starts_with("0")) {
    return location.countryCode.empty() ? digits : "+" + location.countryCode + digits.substr(1);
  }
  if (digits.empty() || location.countryCode.empty() || location.areaCode.empty()) return digits;
  return "+" + location.countryCode + location.areaCode + digits;
}

}  // namespace tfm
