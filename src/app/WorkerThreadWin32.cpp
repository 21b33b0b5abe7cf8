#include "app/WorkerThreadWin32.h"

#include "common/Trace.h"

namespace tfm {

void WorkerThread::Start(LPTHREAD_START_ROUTINE entry, void* argument) {
  m_handle.reset(CreateThread(nullptr, 0, entry, argument, 0, &m_id));
  TraceF("worker %s: %s", m_name, m_handle ? "started" : "not started");
}

DWORD WorkerThread::Stop(DWORD waitMs) {
  if (!m_handle) return 0;
  if (WaitForSingleObject(m_handle.get(), waitMs) != WAIT_OBJECT_0)
    TerminateThread(m_handle.get(), kWorkerTerminatedExitCode);
  WaitForSingleObject(m_handle.get(), waitMs);  // termination completes asynchronously
  DWORD exitCode = 0;
  GetExitCodeThread(m_handle.get(), &exitCode);
  m_handle.reset();
  TraceF("worker %s: stopped, exit code %lu", m_name, exitCode);
  return exitCode;
}

std::vector<DWORD> StopWorkers(std::atomic<int32_t>& workersRunning, const os::StopEvent& stop,
                               std::initializer_list<WorkerThread*> workers, DWORD waitMs) {
  workersRunning = 0;
  stop.Raise();
  // Told together, they end together: one bound for all, so that a session end (which Windows gives
  // a few seconds) never waits a full bound per worker.
  const ULONGLONG deadline = GetTickCount64() + waitMs;
  std::vector<DWORD> exitCodes;
  for (WorkerThread* worker : workers) {
    const ULONGLONG now = GetTickCount64();
    exitCodes.push_back(worker->Stop(now < deadline ? static_cast<DWORD>(deadline - now) : 0));
  }
  return exitCodes;
}

}  // namespace tfm
