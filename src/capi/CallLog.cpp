#include "capi/CallLog.h"

#include <cstdio>

namespace tfm {

std::string FormatCallLogLine(const char* callType, const std::string& calledNumber, const std::string& callingNumber,
                              const std::tm* localTime) {
  char stamp[64] = "Invalid DateTime";
  if (localTime && std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", localTime) == 0) {
    std::snprintf(stamp, sizeof stamp, "%s", "Invalid DateTime");
  }
  std::string line = callType;
  line.append(" ").append(calledNumber).append(" ").append(callingNumber).append(" ").append(stamp).append("\n");
  return line;
}

std::string DirectoryOfPath(const std::string& executablePath) {
  const size_t slash = executablePath.rfind('\\');
  return slash == std::string::npos ? std::string() : executablePath.substr(0, slash + 1);
}

std::string CallLogPath(const std::string& directory) {
  std::string path = directory;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + kCallLogFileName;
}

}  // namespace tfm
