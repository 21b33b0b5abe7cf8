#include "app/CallNotice.h"

namespace tfm {

std::string IncomingCallNotice(std::string_view callingNumber, std::string_view calledNumber) {
  std::string notice = "Incoming call from ";
  notice += callingNumber.empty() ? "a withheld number" : callingNumber;
  notice += " to ";
  notice += calledNumber.empty() ? "this line" : calledNumber;
  return notice;
}

}  // namespace tfm
