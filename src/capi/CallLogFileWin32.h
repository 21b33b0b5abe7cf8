#pragma once
#include <string>

#include "capi/CallLog.h"

namespace tfm {

// The executable's directory, ending with a backslash; empty when the path cannot be determined.
std::string GetExecutableDirectory();

// Appends each line to "ISDNCall.log" beside the executable, opening and closing the file per line so
// that a reader opening it later sees every line. Text mode: the line feed is stored as CR LF.
class CallLogFile final : public ICallLog {
 public:
  void WriteCallLog(const char* callType, const std::string& calledNumber, const std::string& callingNumber) override;
};

}  // namespace tfm
