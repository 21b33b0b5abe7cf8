#include "faxservice/FaxServiceWorkersWin32.h"

#include "faxservice/FaxServiceProbeWin32.h"
#include "faxservice/IpcListener.h"
#include "faxservice/ServicePoller.h"

namespace tfm {
namespace {

void SleepMs(uint32_t milliseconds) { Sleep(milliseconds); }

}  // namespace

DWORD WINAPI IpcListenerThread(LPVOID context) {
  auto& workers = *static_cast<FaxServiceWorkerContext*>(context);
  return RunIpcListener(*workers.channel, workers.tray, *workers.flags, SleepMs);
}

DWORD WINAPI ServicePollerThread(LPVOID context) {
  auto& workers = *static_cast<FaxServiceWorkerContext*>(context);
  FaxServiceProbe probe;
  return RunServicePoller(probe, workers.tray, *workers.channel, *workers.flags, SleepMs);
}

}  // namespace tfm
