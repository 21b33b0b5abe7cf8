#include "calllog/CallLogFileWin32.h"

#include <share.h>

#include <cstdio>
#include <ctime>

#include "calllog/CallLogFormat.h"
#include "os/Process.h"

namespace tfm {

std::string CallLogFilePath() { return CallLogPath(os::ExecutableDirectory()); }

void CallLogFile::WriteCallLog(const char* callType, const std::string& calledNumber,
                               const std::string& callingNumber) {
  const __time64_t now = _time64(nullptr);
  std::tm local{};
  const bool converted = _localtime64_s(&local, &now) == 0;
  const std::string line = FormatCallLogLine(callType, calledNumber, callingNumber, converted ? &local : nullptr);
  // Append mode writes at the end and never truncates; readers may open the file meanwhile.
  if (FILE* file = _fsopen(m_path.c_str(), "a", _SH_DENYNO)) {
    std::fwrite(line.data(), 1, line.size(), file);
    std::fclose(file);
  }
  if (m_listeners.empty()) return;
  const CallLogRow row = SplitCallLogLine(line);
  for (ICallLogListener* listener : m_listeners) listener->OnCallLogged(row);
}

}  // namespace tfm
