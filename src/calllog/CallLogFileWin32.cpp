#include "calllog/CallLogFileWin32.h"

#include <windows.h>

#include "calllog/CallLogFormat.h"
#include "common/Trace.h"
#include "os/Owned.h"
#include "os/Process.h"
#include "os/Text.h"

namespace tfm {

std::string CallLogFilePath() { return CallLogPath(os::ExecutableDirectory()); }

// FILE_APPEND_DATA without FILE_WRITE_DATA: every write goes to the end of the file as it is then, even
// when another program appends too, and nothing before it can be overwritten.
CallLogWriter::Appended CallLogFile::AppendToFile(std::string_view bytes) {
  const os::UniqueHandle file = os::AdoptFile(CreateFileW(os::Wide(path()).c_str(), FILE_APPEND_DATA,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                          nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {GetLastError(), 0};
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    return {GetLastError(), written};
  return {written == bytes.size() ? 0u : static_cast<uint32_t>(ERROR_DISK_FULL), written};
}

CallLogFile::~CallLogFile() {
  FlushPending();
  if (keptCount() > 0) TraceF("call log: %u kept lines not written at exit", static_cast<unsigned>(keptCount()));
}

std::string CallLogErrorText(uint32_t error) {
  std::string text = os::SystemErrorText(error);
  return text.empty() ? "error " + std::to_string(error) : text;
}

std::string CallLogFile::ErrorText(uint32_t error) const { return CallLogErrorText(error); }

bool CallLogFile::LocalNow(std::tm& local) const {
  const __time64_t now = _time64(nullptr);
  return _localtime64_s(&local, &now) == 0;
}

}  // namespace tfm
