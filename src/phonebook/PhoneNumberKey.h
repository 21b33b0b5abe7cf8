#pragma once
// How a phone number is matched: whether written nationally (030...), internationally (+4930...,
// 004930...) or without its area code, a number comes down to one key, using the country and area code
// of the user's dialing location where one is set.
#include <string>
#include <string_view>

namespace tfm {

// The dialing location's calling code ("49") and area code ("30"), digits only; empty when not set.
struct DialingLocation {
  std::string countryCode;
  std::string areaCode;
};

// "+<country><area><subscriber>" for a number written internationally ("+", "00"), nationally (one
// leading "0": the country is the location's) or without its area code (the location's country and
// area); the digits as written where the location cannot tell. Spaces, '-', '/', '.', '(' and ')' are
// ignored; empty for a number without digits or with any other character (a withheld caller, a name).
std::string NumberKey(std::string_view number, const DialingLocation& location);

}  // namespace tfm
