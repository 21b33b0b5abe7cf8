#pragma once
// How the ISDN monitor records an offered call: one line in the call log. The Win32 file writer and
// test fakes implement it.
#include <string>

namespace tfm {

class ICallLog {
 public:
  // Appends one line; a failure is silent and leaves the caller running.
  virtual void WriteCallLog(const char* callType, const std::string& calledNumber,
                            const std::string& callingNumber) = 0;

 protected:
  ~ICallLog() = default;
};

}  // namespace tfm
