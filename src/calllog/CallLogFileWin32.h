#pragma once
#include <string>

#include "calllog/CallLogWriter.h"

namespace tfm {

// "ISDNCall.log" in the running executable's folder, the one place where the log is written and read.
std::string CallLogFilePath();
// The system's text for an error of the file, or "error <code>" where it has none.
std::string CallLogErrorText(uint32_t error);

// The log beside the executable. Each write opens the file for appending only, sharing reading,
// writing and deleting with every other program, writes and closes it, so that a reader opening it
// later sees every line and nobody is kept from it.
class CallLogFile final : public CallLogWriter {
 public:
  CallLogFile() : CallLogWriter(CallLogFilePath(), kCallLogKeptLimit) {}  // the exe does not move while it runs
  // Once the ISDN monitor has stopped: a last try for the lines still kept, and a trace of those lost.
  ~CallLogFile();

 private:
  Appended AppendToFile(std::string_view bytes) override;
  std::string ErrorText(uint32_t error) const override;
  bool LocalNow(std::tm& local) const override;
};

}  // namespace tfm
