#pragma once
#include <windows.h>

namespace tfm {

// Thread entry for CreateThread; the argument is the application's CIsdnMonitor. Returns 0.
DWORD WINAPI IsdnMonitorThreadProc(LPVOID monitor);

}  // namespace tfm
