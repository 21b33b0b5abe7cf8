#pragma once
// A worker thread as ControlWorkers runs it: started at once with default security and stack, and
// stopped by waiting a bounded time; only a worker stuck beyond that (in a driver) is terminated.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "os/Owned.h"
#include "os/StopEvent.h"

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

// Tells every worker at once (the flag, then the event that all their waits include) and then waits
// for them, waitMs in all; those still running then are terminated. Returns their exit codes in the
// order given.
std::vector<DWORD> StopWorkers(std::atomic<int32_t>& workersRunning, const os::StopEvent& stop,
                               std::initializer_list<WorkerThread*> workers, DWORD waitMs = kWorkerStopWaitMs);

}  // namespace tfm
