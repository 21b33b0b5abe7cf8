#pragma once
// The call log "ISDNCall.log" beside the executable: one line per offered call, appended and never
// rewritten. The monitor writes through ICallLog; the Win32 file writer and test fakes implement it.
#include <ctime>
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

inline constexpr char kCallLogFileName[] = "ISDNCall.log";

// "type called calling YYYY-MM-DD HH:MM:SS\n"; "Invalid DateTime" stands for the time stamp when
// localTime is null (the conversion failed). The texts are written as they stand.
std::string FormatCallLogLine(const char* callType, const std::string& calledNumber, const std::string& callingNumber,
                              const std::tm* localTime);

// The executable's path with everything after its last backslash removed (the backslash stays);
// empty when the path is empty.
std::string DirectoryOfPath(const std::string& executablePath);

// The log file's path in that directory; an empty directory gives "\ISDNCall.log" (root of the drive).
std::string CallLogPath(const std::string& directory);

}  // namespace tfm
