#pragma once
// Reads the call log back for the call monitor page: the file is read in pieces of at most 255
// characters, as the C runtime's line reads into a 256-byte buffer deliver them from a file opened in
// text mode on Windows, and each complete line is split into the five fields of a call record.
#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tfm {

inline constexpr size_t kCallLogLineBufferLength = 256;

struct CallLogRow {
  std::string callType;
  std::string calledNumber;
  std::string callingNumber;
  std::string date;
  std::string time;
  bool operator==(const CallLogRow&) const = default;
};

// Line reads with the Windows C runtime's text-mode translation, on a file opened in binary mode so
// that every platform reads alike: CR LF becomes LF (a lone CR stays), and CTRL+Z ends the text.
class TextModeLineReader {
 public:
  explicit TextModeLineReader(std::FILE* file) : m_file(file) {}
  // Like fgets: at most capacity - 1 characters, up to and including a line feed, zero-terminated.
  // Returns the number of characters stored; 0 at the end of the text or on a read error.
  size_t ReadPiece(char* buffer, size_t capacity);

 private:
  int Next();
  int Peek();

  std::FILE* m_file;
  unsigned char m_chunk[8192];
  size_t m_position = 0;
  size_t m_length = 0;
  bool m_ended = false;
};

// Splits one piece read from the log. A piece without a line feed is no line of its own and gives
// nothing. The piece is taken as text up to a zero byte, as the platform's string functions see it.
// The line splits at its first four spaces; field 5 is the rest up to the line feed. A line with
// fewer than four spaces is no call record (the writer never produces one) and gives nothing rather
// than a row of partial cells.
std::optional<CallLogRow> SplitCallLogLine(std::string_view piece);

// All call records of the log in file order; empty when the file cannot be opened.
std::vector<CallLogRow> ReadCallLog(const std::string& path);

// The log beside the executable: its file name up to and including the last backslash, followed by
// "isdncall.log" (the writer's "ISDNCall.log": names compare without regard to case there).
std::string CallLogPathForReading(const std::string& executableFileName);

}  // namespace tfm
