#pragma once
// How the ISDN monitor records an offered call: one line in the call log. The Win32 file writer and
// test fakes implement it.
#include <string>

#include "calllog/CallLogFormat.h"

namespace tfm {

// Told of each call that the log records, after its line has been written (or could not be), on the
// ISDN monitor's thread: the row carries the fields as a reader of the file would split them.
class ICallLogListener {
 public:
  virtual void OnCallLogged(const CallLogRow& row) = 0;

 protected:
  ~ICallLogListener() = default;
};

class ICallLog {
 public:
  // Appends one line; a failure is silent and leaves the caller running.
  virtual void WriteCallLog(const char* callType, const std::string& calledNumber,
                            const std::string& callingNumber) = 0;

 protected:
  ~ICallLog() = default;
};

}  // namespace tfm
