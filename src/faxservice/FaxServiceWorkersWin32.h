#pragma once
// Thread entries of the fax service workers, started by the application's ControlWorkers.
#include <windows.h>

#include "common/SharedFlags.h"
#include "common/Sleep.h"
#include "common/TrayPort.h"
#include "faxservice/InterProcessChannelWin32.h"
#include "faxservice/ServicePoller.h"

namespace tfm {

// Filled by the application and kept alive until both workers have ended or been terminated.
struct FaxServiceWorkerContext {
  CInterProcessChannel* channel = nullptr;
  SharedFlags* flags = nullptr;
  ITrayPort* tray = nullptr;  // null: no icon or tooltip changes
  SleepFunction pause;        // the workers' pause between passes; ends early when they are told to stop
  IServiceStateListener* serviceStateListener = nullptr;  // told of the poller's changes; null: nobody
};

// Both take a FaxServiceWorkerContext* and return 0.
DWORD WINAPI IpcListenerThread(LPVOID context);
DWORD WINAPI ServicePollerThread(LPVOID context);

}  // namespace tfm
