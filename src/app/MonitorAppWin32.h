#pragma once
// The application object and the program's composition root: it reads the OS version once, builds the
// single-instance guard, the hidden frame with the tray icon, the COMMON-ISDN-API binding and the
// worker threads, hands each part what it needs, and runs the tray menu's device commands.
#include <windows.h>

#include <memory>

#include "app/MainFrameWin32.h"
#include "app/WorkerThreadWin32.h"
#include "calllog/CallLogFileWin32.h"
#include "capi/CapiLibraryWin32.h"
#include "capi/IsdnMonitor.h"
#include "common/OsVersion.h"
#include "common/SharedFlags.h"
#include "common/TrayLink.h"
#include "common/UserNotice.h"
#include "devices/ModemRegistry.h"
#include "devices/RegistryWin32.h"
#include "faxservice/FaxServiceWorkersWin32.h"
#include "faxservice/InterProcessChannelWin32.h"
#include "framework/Application.h"
#include "os/Owned.h"
#include "os/Process.h"
#include "os/Version.h"

namespace tfm {

class CMonitorApp final : public fw::Application, public ISessionEndHandler, public IUserNotice {
 public:
  bool InitInstance() override;
  int ExitInstance() override;
  bool OnCommand(UINT commandId) override;

  // A warning box titled with the program's name, owned by the hidden frame.
  void Tell(const char* text) override;

 private:
  bool AcquireSingleInstanceGuard();
  void PreparePopup();
  void OpenFaxServerChannel();
  void BindCapi();
  void ControlWorkers(bool start);
  void OnDevicesMonitor();
  void OnSessionEnding() override;  // WM_ENDSESSION reaches the frame

  // Read once; every part below that depends on the system's version gets it from here.
  const OsVersionInfo m_osVersion = os::ReadOsVersionInfo();
  const int32_t m_osVersionCode = GetOsVersionCode(m_osVersion, os::ReadServicePackValue);

  std::unique_ptr<CMainFrame> m_mainFrame;
  os::UniqueHandle m_guardMutex;  // held from start to end, never released
  WorkerThread m_listenerThread{"listener"};
  WorkerThread m_pollerThread{"poller"};
  WorkerThread m_monitorThread{"isdn-monitor"};
  SharedFlags m_flags;
  bool m_workersStarted = false;
  int32_t m_dialogOpen = 0;
  CapiLibrary m_capiLibrary;
  TrayLink m_trayLink;  // outlives the frame: the workers' way to the tray
  CInterProcessChannel m_channel{m_osVersionCode};
  CallLogFile m_callLog;
  CIsdnMonitor m_isdnMonitor{m_capiLibrary.EntryPoints(), m_trayLink, m_callLog, m_flags.workersRunning,
                            os::SleepMilliseconds};
  FaxServiceWorkerContext m_faxWorkers{&m_channel, &m_flags, &m_trayLink};
  RegistryWin32 m_registry;
  CModemRegistry m_modemRegistry{m_registry, m_osVersion.platformId};
};

}  // namespace tfm
