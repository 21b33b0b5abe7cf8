#pragma once
// The application object and the program's composition root: it reads the OS version once, builds the
// single-instance guard, the hidden frame with the tray icon, the COMMON-ISDN-API binding and the
// worker threads, hands each part what it needs, and runs the tray menu's device commands.
#include <windows.h>

#include <memory>
#include <vector>

#include "app/CallLogNotice.h"
#include "app/CallNotificationsWin32.h"
#include "app/EventReporterWin32.h"
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
#include "os/ComApartment.h"
#include "os/Owned.h"
#include "os/StopEvent.h"
#include "os/Version.h"
#include "phonebook/PhoneBookWin32.h"
#include "ui/CallFeedWin32.h"

namespace tfm {

class CDevicesMonitorDlg;
enum class DevicesMonitorTab;

class CMonitorApp final : public fw::Application,
                          public ISessionEndHandler,
                          public IRunningDialog,
                          public IUserNotice {
 public:
  bool InitInstance() override;
  int ExitInstance() override;
  void OnMessageLoopStart() override;
  bool OnCommand(UINT commandId) override;
  bool IsCommandChecked(UINT commandId) const override {
    return commandId == kCommandCallNotifications && m_callNotifications.enabled();
  }

  // A warning box titled with the program's name, owned by the hidden frame.
  void Tell(const char* text) override;

  // The user's phone book, read from start-up on; the call list names numbers and names them here.
  IPhoneBook& phoneBook() { return m_phoneBook.Book(); }

 private:
  bool AcquireSingleInstanceGuard();
  void PreparePopup();
  void OpenFaxServerChannel();
  void BindCapi();
  void ControlWorkers(bool start);
  // Opens the Devices Monitor on the tab, or brings the running one to the front on it; on the Call
  // Monitor tab with the call selected, when one is given and listed.
  void OnDevicesMonitor(DevicesMonitorTab tab, const CallLogRow* call = nullptr);
  // A balloon was clicked: the call it told of, or the call log it was about.
  void OnNotifiedCall();
  void OnSessionEnding() override;  // WM_ENDSESSION reaches the frame
  bool EndRunningDialog() override;
  void PauseWorker(uint32_t milliseconds) const { m_stop.Wait(milliseconds); }

  // Declared in the order they come to life; they die in reverse. The worker threads (stopped by then)
  // go first, as they use everything above them; then the frame, which detaches the tray link; the
  // guard last.
  os::ComApartment m_com;  // the user-interface thread's: screen readers reach the dialog's chart through it
  const OsVersionInfo m_osVersion = os::ReadOsVersionInfo();  // read once, handed to whoever needs it
  const int32_t m_osVersionCode = GetOsVersionCode(m_osVersion, os::ReadServicePackValue);
  os::UniqueHandle m_guardMutex;  // held until the process ends, or until the session ends
  SharedFlags m_flags;
  os::StopEvent m_stop;  // every worker's pause and wait includes it
  TrayLink m_trayLink;   // the workers' way to the tray; outlives the frame
  RegistryWin32 m_registry;
  // Broken lines are told in a balloon whatever the call notifications are set to: it is about the
  // user's file, not about a call.
  CPhoneBookWin32 m_phoneBook{m_registry, [this](const std::string& text) {
                                m_trayLink.ShowBalloon("The phone book has lines that cannot be read", text.c_str());
                              }};
  CCallNotifications m_callNotifications{m_trayLink, m_phoneBook.Book()};  // told of each logged call
  CEventReporter m_eventReporter{m_phoneBook.Book()};  // told of each logged call and of the service's changes
  CCallLogNotice m_callLogNotice{m_trayLink};  // told when the call log cannot be written
  CapiLibrary m_capiLibrary;
  CInterProcessChannel m_channel{m_osVersionCode, m_stop.Handle()};
  CallFeed m_callFeed;  // to the call list of an open dialog; heard before the workers start
  CallLogFile m_callLog;
  CIsdnMonitor m_isdnMonitor{m_capiLibrary.EntryPoints(), m_trayLink, m_callLog, m_flags.workersRunning,
                            m_flags.callActivity, [this](uint32_t ms) { PauseWorker(ms); }, &m_phoneBook.Book()};
  FaxServiceWorkerContext m_faxWorkers{&m_channel, &m_flags, &m_trayLink, [this](uint32_t ms) { PauseWorker(ms); },
                                       &m_eventReporter};
  CModemRegistry m_modemRegistry{m_registry, m_osVersion.platformId};
  CDevicesMonitorDlg* m_runningDialog = nullptr;  // the modal Devices Monitor while it runs
  bool m_closeAfterDialog = false;                 // the frame was closed while the dialog ran
  std::unique_ptr<CMainFrame> m_mainFrame;
  WorkerThread m_listenerThread{"listener"};
  WorkerThread m_pollerThread{"poller"};
  WorkerThread m_monitorThread{"isdn-monitor"};
  bool m_workersStarted = false;
  std::vector<const char*> m_startupNotices;  // kept until the message loop runs
};

}  // namespace tfm
