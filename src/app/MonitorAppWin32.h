#pragma once
// The application object: single-instance guard, hidden frame with the tray icon, the COMMON-ISDN-API
// binding, the worker threads, and the tray menu's device commands.
#include <windows.h>

#include <memory>
#include <string>

#include "app/MainFrameWin32.h"
#include "app/WorkerThreadWin32.h"
#include "capi/CapiEntryPoints.h"
#include "common/SharedFlags.h"
#include "common/TrayLink.h"
#include "framework/Application.h"

namespace tfm {

inline constexpr char kApplicationTitle[] = "Telvaro Fax Server Monitor";
inline constexpr UINT kIconServiceRunning = IDI_SERVICE_RUNNING;
inline constexpr UINT kIconServiceStopped = IDI_SERVICE_STOPPED;
inline constexpr UINT kBitmapPopupSkin = IDB_POPUP_SKIN;

class CMonitorApp final : public fw::Application {
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
  const CapiEntryPoints& Capi() const { return m_capi; }

 private:
  bool AcquireSingleInstanceGuard();
  void PreparePopup();
  void BindCapi();

  std::unique_ptr<CMainFrame> m_mainFrame;
  HANDLE m_guardMutex = nullptr;  // held from start to end, never released or closed
  int32_t m_osVersionCode = 0;
  WorkerThread m_listenerThread{"listener"};
  WorkerThread m_pollerThread{"poller"};
  WorkerThread m_monitorThread{"isdn-monitor"};
  SharedFlags m_flags;
  int32_t m_dialogOpen = 0;
  CapiEntryPoints m_capi;
  TrayLink m_trayLink;  // outlives the frame: the workers' way to the tray
  std::string m_errorText;
};

}  // namespace tfm
