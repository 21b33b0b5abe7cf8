#include "app/WorkerThreadWin32.h"

#include "common/Trace.h"

namespace tfm {

WorkerThread::~WorkerThread() {
  if (m_handle) CloseHandle(m_handle);
}

void WorkerThread::Start(LPTHREAD_START_ROUTINE entry, void* argument) {
  m_handle = CreateThread(nullptr, 0, entry, argument, 0, &m_id);
  TraceF("worker %s: %s", m_name, m_handle ? "started" : "not started");
}

DWORD WorkerThread::Stop(DWORD waitMs) {
  if (!m_handle) return 0;
  if (WaitForSingleObject(m_handle, waitMs) != WAIT_OBJECT_0) TerminateThread(m_handle, kWorkerTerminatedExitCode);
  WaitForSingleObject(m_handle, waitMs);  // termination completes asynchronously
  DWORD exitCode = 0;
  GetExitCodeThread(m_handle, &exitCode);
  CloseHandle(m_handle);
  m_handle = nullptr;
  TraceF("worker %s: stopped, exit code %lu", m_name, exitCode);
  return exitCode;
}

}  // namespace tfm
