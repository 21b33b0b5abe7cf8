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
  std::mutex& lock() { return m_lock; }

 private:
  bool Record(std::string call) {
    std::lock_guard guard(m_lock);
    m_calls.push_back(std::move(call));
    return true;
  }
  std::mutex m_lock;
  std::vector<std::string> m_calls;
};

// Runs IpcListenerThread on the channel. The listener does not look at the flags while its waits
// succeed, so, as at the product's shutdown, it is terminated; never while it holds the tray's lock.
class ListenerThread {
 public:
  ListenerThread(CInterProcessChannel& channel, SharedFlags& flags, LockedRecordingTray& tray)
      : m_tray(tray), m_context{&channel, &flags, &tray} {
    m_thread.reset(CreateThread(nullptr, 0, IpcListenerThread, &m_context, 0, nullptr));
  }
  ~ListenerThread() {
    std::lock_guard guard(m_tray.lock());
    TerminateThread(m_thread.get(), 170);
    WaitForSingleObject(m_thread.get(), INFINITE);
  }
  HANDLE handle() const { return m_thread.get(); }

 private:
  LockedRecordingTray& m_tray;
  FaxServiceWorkerContext m_context;
  os::UniqueHandle m_thread;
};

// Handles this process holds. Wine's GetProcessHandleCount always reports 0, so they are counted in
// the system's handle list instead, which Wine and Windows both fill.
DWORD ProcessHandleCount();

// Polls the tray until it shows the tooltip; false after timeoutMs.
bool WaitForTip(LockedRecordingTray& tray, const std::string& tip, DWORD timeoutMs);

}  // namespace tfm::test
