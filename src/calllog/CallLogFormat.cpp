#include "calllog/CallLogFormat.h"

#include <algorithm>
#include <cstdio>

namespace tfm {

std::string CallLogPath(const std::string& directory) {
  std::string path = directory;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + kCallLogFileName;
}

void MakeNumberPrintable(std::string& number) {
  std::transform(number.begin(), number.end(), number.begin(), PrintableNumberByte);
}

std::string FormatCallLogLine(const char* callType, const std::string& calledNumber, const std::string& callingNumber,
                              const std::tm* localTime) {
  char stamp[64] = "Invalid DateTime";
  if (localTime && std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", localTime) == 0) {
    std::snprintf(stamp, sizeof stamp, "%s", "Invalid DateTime");
  }
  std::string called = calledNumber;
  std::string calling = callingNumber;
  MakeNumberPrintable(called);
  MakeNumberPrintable(calling);
  std::string line = callType;
  line.append(" ").append(called).append(" ").append(calling).append(" ").append(stamp).append("\n");
  return line;
}

std::string_view CallLogFieldsFrom(std::string_view line, int field) {
  for (int i = 0; i < field; ++i) line.remove_prefix(line.find(' ') + 1);
  return line;
}

std::string_view CallLogField(std::string_view line, int field) {
  line = CallLogFieldsFrom(line, field);
  return field == 4 ? line : line.substr(0, line.find(' '));
}

CallLogRow SplitCallLogLine(std::string_view line) {
  line = line.substr(0, line.find('\n'));
  const auto field = [line](int index) { return std::string(CallLogField(line, index)); };
  return {field(0), field(1), field(2), field(3), field(4)};
}

}  // namespace tfm
