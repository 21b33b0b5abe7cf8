#pragma once
// Shared pieces of the channel tests: the real listener thread, the process's handle count and the fax
// server simulator (tools/faxsim) run as a console program.
#include <windows.h>

#include <string>
#include <vector>

#include "common/SharedFlags.h"
#include "ProviderFolder.h"
#include "RecordingTray.h"
#include "faxservice/FaxServiceWorkersWin32.h"
#include "os/Owned.h"

namespace tfm::test {

// Runs IpcListenerThread on the channel; stopped as the product stops it, by clearing the flag, which
// the listener looks at after every wait.
class ListenerThread {
 public:
  ListenerThread(CInterProcessChannel& channel, SharedFlags& flags, RecordingTray& tray)
      : m_flags(flags), m_context{&channel, &flags, &tray, [](uint32_t ms) { Sleep(ms); }} {
    m_thread.reset(CreateThread(nullptr, 0, IpcListenerThread, &m_context, 0, nullptr));
  }
  ~ListenerThread() {
    m_flags.workersRunning = 0;
    WaitForSingleObject(m_thread.get(), INFINITE);
  }
  HANDLE handle() const { return m_thread.get(); }

 private:
  SharedFlags& m_flags;
  FaxServiceWorkerContext m_context;
  os::UniqueHandle m_thread;
};

// Handles this process holds. Wine's GetProcessHandleCount always reports 0, so they are counted in
// the system's handle list instead, which Wine and Windows both fill.
DWORD ProcessHandleCount();

std::vector<std::string> ReadLines(const std::string& path);
// Waits until another process has written the line to the file; false after timeoutMs.
bool WaitForLine(const std::string& path, const std::string& line, DWORD timeoutMs);

// Runs "faxsim.exe --console <script> <log>" in the background.
class ConsoleSimulator {
 public:
  ConsoleSimulator(const std::string& scriptText, const char* tag);
  ~ConsoleSimulator();
  // Waits for the process to end; false if it is still running after timeoutMs.
  bool Join(DWORD timeoutMs);
  const std::string& log() const { return m_log.Path(); }

 private:
  TempFile m_script;
  TempFile m_log;
  os::ProcessHandles m_process;
};

}  // namespace tfm::test
