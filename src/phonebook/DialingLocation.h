#pragma once
// The user's dialing location (Phone and Modem settings), read through the registry wrapper: the
// current location's country, as its calling code, and its area code.
#include "devices/RegistryApi.h"
#include "phonebook/PhoneNumberKey.h"

namespace tfm {

inline constexpr char kTelephonyKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony";

// The location named by Locations\CurrentID (Location<N>: Country, a country id, and AreaCode), the
// country's calling code from Country List\<id>\CountryCode. Empty parts where any of it is missing;
// the area code without its leading "0", as some users enter it.
DialingLocation ReadDialingLocation(IRegistry& registry);

}  // namespace tfm
