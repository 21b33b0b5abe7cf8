#include "faxservice/FaxServiceWorkersWin32.h"

#include "faxservice/FaxServiceProbeWin32.h"
#include "faxservice/IpcListener.h"
#include "faxservice/ServicePoller.h"

namespace tfm {

DWORD WINAPI IpcListenerThread(LPVOID context) {
  auto& workers = *static_cast<FaxServiceWorkerContext*>(context);
  return RunIpcListener(*workers.channel, workers.tray, *workers.flags, workers.pause);
}

DWORD WINAPI ServicePollerThread(LPVOID context) {
  auto& workers = *static_cast<FaxServiceWorkerContext*>(context);
  FaxServiceProbe probe;
  return RunServicePoller(probe, workers.tray, workers.serviceStateListener, *workers.channel, *workers.flags,
                          workers.pause);
}

}  // namespace tfm
