#pragma once
// Shared pieces of the channel tests: a thread-safe recording tray and the real listener thread.
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "common/SharedFlags.h"
#include "common/TrayPort.h"
#include "faxservice/FaxServiceWorkersWin32.h"
#include "os/Owned.h"

namespace tfm::test {

class LockedRecordingTray : public ITrayPort {
 public:
  bool ChangeIcon(unsigned iconId) override { return Record("icon " + std::to_string(iconId)); }
  bool ChangeTip(const char* text) override { return Record(std::string("tip ") + text); }
  void MarkEnabledAndShown() override {}
  std::vector<std::string> calls() {
    std::lock_guard guard(m_lock);
    return m_calls;
  }

 private:
  bool Record(std::string call) {
    std::lock_guard guard(m_lock);
    m_calls.push_back(std::move(call));
    return true;
  }
  std::mutex m_lock;
  std::vector<std::string> m_calls;
};

// Runs IpcListenerThread on the channel; stopped as the product stops it, by clearing the flag, which
// the listener looks at after every wait.
class ListenerThread {
 public:
  ListenerThread(CInterProcessChannel& channel, SharedFlags& flags, LockedRecordingTray& tray)
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

// Polls the tray until it shows the tooltip; false after timeoutMs.
bool WaitForTip(LockedRecordingTray& tray, const std::string& tip, DWORD timeoutMs);

}  // namespace tfm::test
