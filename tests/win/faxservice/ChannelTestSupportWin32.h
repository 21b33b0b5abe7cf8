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

// Runs IpcListenerThread on the channel. The listener does not look at the flags while its waits
// succeed, so, as at the product's shutdown, it is terminated; never while it holds the tray's lock.
class ListenerThread {
 public:
  ListenerThread(CInterProcessChannel& channel, SharedFlags& flags, RecordingTray& tray)
      : m_tray(tray), m_context{&channel, &flags, &tray} {
    m_thread.reset(CreateThread(nullptr, 0, IpcListenerThread, &m_context, 0, nullptr));
  }
  ~ListenerThread() {
    std::lock_guard guard(m_tray.Lock());
    TerminateThread(m_thread.get(), 170);
    WaitForSingleObject(m_thread.get(), INFINITE);
  }
  HANDLE handle() const { return m_thread.get(); }

 private:
  RecordingTray& m_tray;
  FaxServiceWorkerContext m_context;
  os::UniqueHandle m_thread;
};

// Handles this process holds. Wine's GetProcessHandleCount always reports 0, so they are counted in
// the system's handle list instead, which Wine and Windows both fill.
DWORD ProcessHandleCount();

std::vector<std::string> ReadLines(const std::string& path);

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
