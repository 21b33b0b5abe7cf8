#include "app/CallNotice.h"

#include "phonebook/CallerText.h"

namespace tfm {

std::string IncomingCallNotice(std::string_view callingNumber, std::string_view calledNumber,
                               std::string_view callerName) {
  std::string notice = "Incoming call from ";
  notice += CallerText(callingNumber, callerName).c_str();
  notice += " to ";
  notice += calledNumber.empty() ? "this line" : calledNumber;
  return notice;
}

}  // namespace tfm
