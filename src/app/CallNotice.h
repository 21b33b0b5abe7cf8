#pragma once
// The sentence that tells the user of an incoming call, in a balloon and in the event log.
#include <string>
#include <string_view>

namespace tfm {

// "Incoming call from <caller> to <called>": the caller as the phone book names it ("Müller GmbH
// (0301555123)"), its number alone, or "withheld" when the network passed none; a missing called
// number is said in words. Numbers and names are written as they stand.
std::string IncomingCallNotice(std::string_view callingNumber, std::string_view calledNumber,
                               std::string_view callerName = {});

}  // namespace tfm
