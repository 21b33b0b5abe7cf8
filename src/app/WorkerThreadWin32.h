#pragma once
// A worker thread as ControlWorkers runs it: started at once with default security and stack, and
// stopped by waiting a bounded time, then terminating it.
#include <windows.h>

#include "os/Owned.h"

namespace tfm {

inline constexpr DWORD kWorkerStopWaitMs = 2000;
inline constexpr DWORD kWorkerTerminatedExitCode = 170;

class WorkerThread {
 public:
  explicit WorkerThread(const char* name) : m_name(name) {}

  void Start(LPTHREAD_START_ROUTINE entry, void* argument);
  bool Started() const { return static_cast<bool>(m_handle); }
  // Waits up to waitMs for the thread to end, otherwise terminates it; closes the handle.
  // Returns the thread's exit code.
  DWORD Stop(DWORD waitMs = kWorkerStopWaitMs);

 private:
  const char* m_name;
  os::UniqueHandle m_handle;
  DWORD m_id = 0;
};

}  // namespace tfm
