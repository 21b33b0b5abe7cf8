#pragma once
// The call log "ISDNCall.log" beside the executable: one line per offered call, appended and never
// rewritten. This is the line in both directions, as written and as split again for display, and the
// file's place in a folder.
#include <ctime>
#include <string>
#include <string_view>

namespace tfm {

inline constexpr char kCallLogFileName[] = "ISDNCall.log";

// Numbers are data from the line: every byte of a called or calling number that is not a printable,
// non-space ASCII character stands as '?' wherever the number goes (log line, tooltip, balloon, event
// record, list), so that no number can end, split or forge a log line or carry control bytes anywhere.
constexpr char PrintableNumberByte(char c) { return c > ' ' && c < '\x7F' ? c : '?'; }
// In place: a number held in a buffer reserved beforehand stays without allocation.
void MakeNumberPrintable(std::string& number);

// The log file's path in a folder (with or without its trailing backslash); an empty folder gives
// "\ISDNCall.log" (root of the drive).
std::string CallLogPath(const std::string& directory);

// "type called calling YYYY-MM-DD HH:MM:SS\n"; "Invalid DateTime" stands for the time stamp when
// localTime is null (the conversion failed). The numbers are written as MakeNumberPrintable leaves them.
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

// A call record's line (without its line feed) splits at its first four spaces: fields 0..3 end at a
// space each, field 4 is the rest of the line. A line with fewer spaces is no call record; readers
// check that before they split. These give the line from field 0..4 on, and field 0..4 alone.
std::string_view CallLogFieldsFrom(std::string_view line, int field);
std::string_view CallLogField(std::string_view line, int field);

// A record's line (up to its line feed, if it has one) as the row a reader of the file splits it into.
CallLogRow SplitCallLogLine(std::string_view line);

}  // namespace tfm
