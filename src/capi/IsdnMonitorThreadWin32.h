#pragma once
#include <windows.h>

#include <cstdint>

namespace tfm {

// Thread entry for CreateThread; the argument is the application's CIsdnMonitor. Returns 0.
DWORD WINAPI IsdnMonitorThreadProc(LPVOID monitor);

// The monitor's sleep between dispatch passes.
void SleepMilliseconds(uint32_t milliseconds);

}  // namespace tfm
