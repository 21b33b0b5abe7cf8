#include "calllog/CallLogReaderWin32.h"

#include <windows.h>

#include <algorithm>

#include "calllog/CallLogFileWin32.h"
#include "calllog/CallLogIndex.h"
#include "os/Owned.h"
#include "os/Text.h"

namespace tfm {

CallLogText ReadCallLogTail(const std::string& path, uint64_t maxLength) {
  const os::UniqueHandle file = os::AdoptFile(CreateFileW(os::Wide(path).c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file) {
    const DWORD error = GetLastError();
    return {{}, error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : error};
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return {{}, GetLastError()};
  const auto fileLength = static_cast<uint64_t>(size.QuadPart);
  LARGE_INTEGER offset{};
  offset.QuadPart = static_cast<LONGLONG>(CallLogTailOffset(fileLength, maxLength));
  if (!SetFilePointerEx(file.get(), offset, nullptr, FILE_BEGIN)) return {{}, GetLastError()};
  CallLogText text;
  text.bytes.resize(static_cast<size_t>(fileLength - static_cast<uint64_t>(offset.QuadPart)));
  // The writer may append meanwhile: what was there when the size was taken is read, and a shorter
  // read (the file cut by someone else) keeps what came.
  size_t filled = 0;
  while (filled < text.bytes.size()) {
    const auto wanted = static_cast<DWORD>(std::min<size_t>(text.bytes.size() - filled, 1u << 30));
    DWORD read = 0;
    if (!ReadFile(file.get(), text.bytes.data() + filled, wanted, &read, nullptr)) return {{}, GetLastError()};
    if (read == 0) break;
    filled += read;
  }
  text.bytes.resize(filled);
  DropTornHead(text.bytes, fileLength, maxLength);
  return text;
}

std::string CallLogUnreadableText(const std::string& path, uint32_t error) {
  return "The call log " + path + " cannot be read: " + CallLogErrorText(error);
}

}  // namespace tfm
