#include "calllog/CallLogFormat.h"

#include <cstdio>

namespace tfm {

std::string CallLogPath(const std::string& directory) {
  std::string path = directory;
  if (path.empty() || path.back() != '\\') path += '\\';
  return path + kCallLogFileName;
}

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

std::optional<CallLogRow> SplitCallLogLine(std::string_view piece) {
  piece = piece.substr(0, piece.find('\0'));
  const size_t lineFeed = piece.find('\n');
  if (lineFeed == std::string_view::npos) return std::nullopt;
  std::string_view rest = piece.substr(0, lineFeed);

  std::string_view fields[4];
  for (std::string_view& field : fields) {
    const size_t space = rest.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    field = rest.substr(0, space);
    rest.remove_prefix(space + 1);
  }
  return CallLogRow{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]), std::string(fields[3]),
                    std::string(rest)};
}

}  // namespace tfm
