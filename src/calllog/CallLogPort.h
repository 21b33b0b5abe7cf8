#pragma once
// How the ISDN monitor records an offered call: one line in the call log. The file writer and test
// fakes implement it.
#include <cstddef>
#include <string>

#include "calllog/CallLogFormat.h"

namespace tfm {

// Told of each call that the log records, once, when the call is seen (its line written or kept to be
// written later), on the ISDN monitor's thread: the row carries the fields as a reader of the file
// would split them.
class ICallLogListener {
 public:
  virtual void OnCallLogged(const CallLogRow& row) = 0;

 protected:
  ~ICallLogListener() = default;
};

// Told when the log stops taking lines and when it takes them again: once each per episode, which
// begins at the first line that cannot be written and ends when every line kept since is written. On
// the ISDN monitor's thread.
class ICallLogHealthListener {
 public:
  // path: the log's full path; reason: the system's text for why the line could not be written.
  virtual void OnCallLogBlocked(const std::string& path, const std::string& reason) = 0;
  // writtenLate: the lines kept and written since; dropped: the oldest ones that went past the bound.
  virtual void OnCallLogWritable(const std::string& path, size_t writtenLate, size_t dropped) = 0;

 protected:
  ~ICallLogHealthListener() = default;
};

class ICallLog {
 public:
  // Appends one line, or keeps it to be written when the file can be written again; never fails the
  // caller.
  virtual void WriteCallLog(const char* callType, const std::string& calledNumber,
                            const std::string& callingNumber) = 0;
  // Writes the lines kept since a write failed, in order, if the file can be written now. Called
  // between polls; cheap when nothing is kept.
  virtual void FlushPending() = 0;

 protected:
  ~ICallLog() = default;
};

}  // namespace tfm
