#pragma once
// Reads the call log back for the call page. The file is opened sharing reading, writing and deleting,
// so that neither the monitor's writer nor another program that holds it open (a spreadsheet, a
// backup, a virus scanner) keeps it from being read.
#include <cstdint>
#include <string>

namespace tfm {

struct CallLogText {
  std::string bytes;   // from the start of a line to the end of the file
  uint32_t error = 0;  // 0 when read, or when there is no file yet (no call logged); else the system's code
};

// The file's bytes from the start of the line that begins its last maxLength bytes, so that the newest
// calls are listed when the file is too long to be held.
CallLogText ReadCallLogTail(const std::string& path, uint64_t maxLength);

// "The call log <path> cannot be read: <the system's text for error>"
std::string CallLogUnreadableText(const std::string& path, uint32_t error);

}  // namespace tfm
