#pragma once
// The call log "ISDNCall.log" beside the executable: one line per offered call, appended and never
// rewritten. This is the line in both directions, as written and as split again for display, and the
// file's place in a folder.
#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace tfm {

inline constexpr char kCallLogFileName[] = "ISDNCall.log";

// The log file's path in a folder (with or without its trailing backslash); an empty folder gives
// "\ISDNCall.log" (root of the drive).
std::string CallLogPath(const std::string& directory);

// "type called calling YYYY-MM-DD HH:MM:SS\n"; "Invalid DateTime" stands for the time stamp when
// localTime is null (the conversion failed). The texts are written as they stand.
std::string FormatCallLogLine(const char* callType, const std::string& calledNumber, const std::string& callingNumber,
                              const std::tm* localTime);

struct CallLogRow {
  std::string callType;
  std::string calledNumber;
  std::string callingNumber;
  std::string date;
  std::string time;
  bool operator==(const CallLogRow&) const = default;
};

// Splits one piece read from the log. A piece without a line feed is no line of its own and gives
// nothing. The piece is taken as text up to a zero byte, as the platform's string functions see it.
// The line splits at its first four spaces; field 5 is the rest up to the line feed. A line with
// fewer than four spaces is no call record (the writer never produces one) and gives nothing rather
// than a row of partial cells.
std::optional<CallLogRow> SplitCallLogLine(std::string_view piece);

}  // namespace tfm
