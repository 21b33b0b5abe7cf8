#include "capi/IsdnMonitorThreadWin32.h"

#include "capi/IsdnMonitor.h"

namespace tfm {

DWORD WINAPI IsdnMonitorThreadProc(LPVOID monitor) {
  return static_cast<CIsdnMonitor*>(monitor)->RunThread();
}

}  // namespace tfm
