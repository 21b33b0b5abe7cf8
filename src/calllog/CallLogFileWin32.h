#pragma once
#include <string>
#include <vector>

#include "calllog/CallLogPort.h"

namespace tfm {

// "ISDNCall.log" in the running executable's folder, the one place where the log is written and read.
std::string CallLogFilePath();

// Appends each line to the log beside the executable, opening and closing the file per line so that
// a reader opening it later sees every line. Text mode: the line feed is stored as CR LF. Listeners
// are told of every line, written or not: the call was seen either way.
class CallLogFile final : public ICallLog {
 public:
  // Before the ISDN monitor starts; listeners outlive it.
  void AddListener(ICallLogListener& listener) { m_listeners.push_back(&listener); }
  void WriteCallLog(const char* callType, const std::string& calledNumber, const std::string& callingNumber) override;

 private:
  const std::string m_path = CallLogFilePath();  // the exe does not move while it runs
  std::vector<ICallLogListener*> m_listeners;
};

}  // namespace tfm
