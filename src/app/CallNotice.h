#pragma once
// The sentence that tells the user of an incoming call, in a balloon and in the event log.
#include <string>
#include <string_view>

namespace tfm {

// "Incoming call from <calling> to <called>". A calling number the network did not pass on (withheld
// or unknown) and a missing called number are said in words; the numbers are written as they stand.
std::string IncomingCallNotice(std::string_view callingNumber, std::string_view calledNumber);

}  // namespace tfm
