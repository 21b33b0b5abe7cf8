#pragma once
// The application object: single-instance guard, hidden frame with the tray icon, the COMMON-ISDN-API
// binding, the worker threads, and the tray menu's device commands.
#include <windows.h>

#include <memory>
#include <string>

#include "app/MainFrameWin32.h"
#include "app/WorkerThreadWin32.h"
#include "calllog/CallLogFileWin32.h"
#include "capi/CapiLibraryWin32.h"
#include "capi/IsdnMonitor.h"
#include "common/SharedFlags.h"
#include "common/TrayLink.h"
#include "devices/ModemRegistry.h"
#include "devices/RegistryWin32.h"
#include "faxservice/FaxServiceWorkersWin32.h"
#include "faxservice/InterProcessChannelWin32.h"
#include "framework/Application.h"
#include "os/Process.h"

namespace tfm {

inline constexpr char kApplicationTitle[] = "Telvaro Fax Server Monitor";
inline constexpr UINT kIconServiceRunning = IDI_SERVICE_RUNNING;
inline constexpr UINT kIconServiceStopped = IDI_SERVICE_STOPPED;
inline constexpr UINT kBitmapPopupSkin = IDB_POPUP_SKIN;

class CMonitorApp final : public fw::Application, public ISessionEndHandler {
 public:
  CMonitorApp();
  ~CMonitorApp() override;

  bool InitInstance() override;
  int ExitInstance() override;
  bool OnCommand(UINT commandId) override;

  void ControlWorkers(bool start);
  void OnDevicesMonitor();
  // The system's text for an error code, kept until the next call.
  const std::string& SystemErrorText(DWORD code);

  CMainFrame* MainFrame() const { return m_mainFrame.get(); }
  int32_t OsVersionCode() const { return m_osVersionCode; }
  SharedFlags& Flags() { return m_flags; }
  const CapiEntryPoints& Capi() const { return m_capiLibrary.EntryPoints(); }
  CIsdnMonitor& IsdnMonitor() { return m_isdnMonitor; }

 private:
  bool AcquireSingleInstanceGuard();
  void PreparePopup();
  void OpenFaxServerChannel();
  void BindCapi();
  void OnSessionEnding() override;  // WM_ENDSESSION reaches the frame

  std::unique_ptr<CMainFrame> m_mainFrame;
  HANDLE m_guardMutex = nullptr;  // held from start to end, never released or closed
  int32_t m_osVersionCode = 0;
  WorkerThread m_listenerThread{"listener"};
  WorkerThread m_pollerThread{"poller"};
  WorkerThread m_monitorThread{"isdn-monitor"};
  SharedFlags m_flags;
  bool m_workersStarted = false;
  int32_t m_dialogOpen = 0;
  CapiLibrary m_capiLibrary;
  TrayLink m_trayLink;  // outlives the frame: the workers' way to the tray
  CInterProcessChannel m_channel;
  CallLogFile m_callLog;
  CIsdnMonitor m_isdnMonitor{m_capiLibrary.EntryPoints(), m_trayLink, m_callLog, m_flags.workersRunning,
                            os::SleepMilliseconds};
  FaxServiceWorkerContext m_faxWorkers{&m_channel, &m_flags, &m_trayLink};
  RegistryWin32 m_registry;
  CModemRegistry m_modemRegistry{m_registry, ReadPlatformIdWin32};
  std::string m_errorText;
};

}  // namespace tfm
