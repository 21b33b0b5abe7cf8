#pragma once
// Reads the call log back for the call monitor page: the file is read in pieces of at most 255
// characters, as the C runtime's line reads into a 256-byte buffer deliver them from a file opened in
// text mode on Windows, and each complete line is split into the five fields of a call record.
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "calllog/CallLogFormat.h"

namespace tfm {

inline constexpr size_t kCallLogLineBufferLength = 256;

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

// All call records from the file's current position to its end, in file order.
std::vector<CallLogRow> ReadCallLog(std::FILE* file);
// All call records of the log at path; empty when the file cannot be opened.
std::vector<CallLogRow> ReadCallLog(const std::string& path);

}  // namespace tfm
