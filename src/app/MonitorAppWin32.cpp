#include "app/MonitorAppWin32.h"

#include <algorithm>
#include <utility>
#include <cstdlib>

#include "app/SingleInstance.h"
#include "capi/CapiInstalled.h"
#include "capi/IsdnMonitorThreadWin32.h"
#include "faxservice/FaxServiceNames.h"
#include "common/Trace.h"
#include "framework/TraceSinkWin32.h"
#include "framework/WindowText.h"
#include "ui/DevicesMonitorDlgWin32.h"
#include "os/Text.h"

namespace tfm {

#if !defined(_WIN64)
static_assert(sizeof(SECURITY_ATTRIBUTES) == 12);
static_assert(SECURITY_DESCRIPTOR_MIN_LENGTH == 20);
#endif

bool CMonitorApp::AcquireSingleInstanceGuard() {
  const GuardMutexChoice guard = ChooseGuardMutex(m_osVersionCode);
  SECURITY_ATTRIBUTES attributes{};
  SECURITY_DESCRIPTOR descriptor{};  // the mutex takes a copy when it is created
  if (guard.withSecurity) {
    // A null DACL: every logon session may open the guard.
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    attributes.nLength = sizeof attributes;
    attributes.lpSecurityDescriptor = &descriptor;
    attributes.bInheritHandle = TRUE;
  }
  m_guardMutex.reset(CreateMutexW(guard.withSecurity ? &attributes : nullptr, TRUE, os::Wide(guard.name).c_str()));
  const bool alreadyRunning = GetLastError() == ERROR_ALREADY_EXISTS;
  TraceF("guard: %s%s", guard.name, alreadyRunning ? " already held, exiting" : "");
  return !alreadyRunning;
}

bool CMonitorApp::InitInstance() {
  fw::InstallDebugOutputTraceSink();
  TraceF("os version code %d", m_osVersionCode);
  if (!AcquireSingleInstanceGuard()) std::exit(0);

  m_mainFrame = std::make_unique<CMainFrame>(*this, m_trayLink, *this, *this, m_osVersion);
  SetMainWindow(m_mainFrame.get());
  if (!m_mainFrame->LoadFrame(kResourceMain, kFrameDefaultStyle, kFrameWindowClass)) {
    Trace("start-up: frame not created");
    return false;
  }
  ShowWindow(m_mainFrame->Hwnd(), SW_HIDE);
  UpdateWindow(m_mainFrame->Hwnd());

  PreparePopup();
  m_mainFrame->Tray()->ChangeIcon(kServiceStoppedIcon);
  m_phoneBook.Watch();
  m_callLog.AddListener(m_callFeed);
  m_callLog.AddListener(m_callNotifications);
  m_callLog.AddListener(m_eventReporter);
  m_callLog.AddHealthListener(m_callLogNotice);
  m_callLog.AddHealthListener(m_eventReporter);
  OpenFaxServerChannel();
  BindCapi();
  ControlWorkers(true);
  return true;
}

void CMonitorApp::OpenFaxServerChannel() {
  // Ready only with the view and the events; otherwise the service poller tries again in each cycle
  // while the service runs, and the box is shown once at most.
  const bool created = m_channel.CreateChannel(kChannelBaseName);
  if (!created) {
    m_startupNotices.push_back(
        m_channel.creatingRefused()
            ? "Can Not connect to telvarofax service.\n\nThis account may not create the fax service's shared "
              "objects. The monitor connects by itself once the fax service is running."
            : "Can Not connect to telvarofax service");
  }
  m_flags.channelReady = created && m_channel.ConnectEvents() ? 1 : 0;
}

// Monitoring runs before anyone has to answer a box: start-up has returned and the workers run.
void CMonitorApp::OnMessageLoopStart() {
  // One after the other; a close while one is shown drops the rest.
  for (const char* text : std::exchange(m_startupNotices, {})) {
    if (!m_mainFrame || !IsWindow(m_mainFrame->Hwnd())) return;
    Tell(text);
  }
}

void CMonitorApp::PreparePopup() {
  CTaskbarNotifier& popup = m_mainFrame->Notifier();
  popup.CreatePopup(m_mainFrame.get());
  popup.LoadSkin(IDB_POPUP_SKIN);
  popup.SetFonts("Arial", 100, 0, kFontUnderline);
  popup.SetColours(RGB(20, 0, 255), RGB(20, 0, 255));
  popup.SetTextArea(popup.Scale(10), popup.Scale(40), popup.SkinWidth() - popup.Scale(10),
                    popup.SkinHeight() - popup.Scale(25));
}

void CMonitorApp::BindCapi() {
  m_flags.capiAvailable = 0;
  if (!m_capiLibrary.Load()) {
    m_startupNotices.push_back("No CAPI drivers Installed");
    return;
  }
  if (!IsCapiInstalled(m_capiLibrary.EntryPoints())) {
    Trace("capi: no driver installed, no ISDN monitor");
    return;
  }
  m_flags.capiAvailable = 1;
}

// The fax service is watched with or without ISDN: only the ISDN monitor needs a driver.
void CMonitorApp::ControlWorkers(bool start) {
  if (start) {
    m_flags.workersRunning = 1;
    Trace("workers: running");
    m_listenerThread.Start(IpcListenerThread, &m_faxWorkers);
    m_pollerThread.Start(ServicePollerThread, &m_faxWorkers);
    if (m_flags.capiAvailable == 1) m_monitorThread.Start(IsdnMonitorThreadProc, &m_isdnMonitor);
    m_workersStarted = true;
    return;
  }
  if (!m_workersStarted) return;
  m_workersStarted = false;
  Trace("workers: stopping");
  StopWorkers(m_flags.workersRunning, m_stop, {&m_monitorThread, &m_listenerThread, &m_pollerThread});
}

int CMonitorApp::ExitInstance() {
  ControlWorkers(false);
  Trace("exit");
  return fw::Application::ExitInstance();
}

// A double-click on the icon runs the menu's first item, "ISDN Checker".
bool CMonitorApp::OnCommand(UINT commandId) {
  if (commandId == kCommandCallNotifications) {
    m_callNotifications.Toggle();
    return true;
  }
  if (commandId == kCommandIsdnChecker) {
    OnDevicesMonitor(DevicesMonitorTab::IsdnDevices);
  } else if (commandId == kCommandCallMonitor) {
    OnDevicesMonitor(DevicesMonitorTab::CallMonitor);
  } else if (commandId == kCommandNotifiedCall) {
    OnNotifiedCall();
  } else {
    return false;
  }
  return true;
}

void CMonitorApp::OnSessionEnding() {
  // Windows may end the process once WM_ENDSESSION returns, and gives the handler a few seconds. The
  // tray link is cut first, so that no worker is inside a tray call when it stops; the monitor thread
  // releases its COMMON-ISDN-API registration on the way out, within one bound for all workers.
  Trace("session end");
  m_trayLink.Detach();
  ControlWorkers(false);
  // Windows does not always end the process (Restart Manager closes programs with ENDSESSION_CLOSEAPP):
  // close by ourselves, which removes the icon, and give up the guard now so that a copy started
  // meanwhile is not refused. The removal is left to the close: it is not needed before the session
  // ends, and it can take seconds (Wine's shell takes two).
  m_guardMutex.reset();
  PostMessageW(m_mainFrame->Hwnd(), WM_CLOSE, 0, 0);
}

bool CMonitorApp::EndRunningDialog() {
  if (!m_runningDialog) return false;
  m_closeAfterDialog = true;
  m_runningDialog->EndDialog(IDCANCEL);
  return true;
}

void CMonitorApp::OnNotifiedCall() {
  CSystemTray* tray = m_mainFrame ? m_mainFrame->Tray() : nullptr;
  const std::optional<CallLogRow> call =
      tray ? m_callNotifications.CallOfBalloon(tray->BalloonText()) : std::nullopt;
  OnDevicesMonitor(DevicesMonitorTab::CallMonitor, call ? &*call : nullptr);
}

void CMonitorApp::OnDevicesMonitor(DevicesMonitorTab tab, const CallLogRow* call) {
  TraceF("command: devices monitor (dialog %s)", m_runningDialog ? "already open" : "closed");
  // The modal loop still delivers tray commands to the frame: a second one while the dialog runs
  // shows the running one rather than opening another.
  if (m_runningDialog) {
    m_runningDialog->ShowTab(tab);
    if (call) m_runningDialog->ShowCall(*call);
    return;
  }
  const ProfileQuery getProfile = [this](uint32_t controller, uint8_t* profile) {
    CapiProfile record{};
    const uint32_t info = m_isdnMonitor.GetCAPIProfile(controller, record);
    std::copy(record.begin(), record.end(), profile);
    return info;
  };
  CDevicesMonitorDlg dialog({m_flags.capiAvailable, m_capiLibrary.EntryPoints(), getProfile, m_modemRegistry,
                             m_flags.workersRunning, m_flags.callActivity, m_callFeed, &phoneBook()},
                            tab);
  if (call) dialog.ShowCall(*call);
  m_runningDialog = &dialog;
  dialog.DoModal(m_mainFrame->Hwnd());
  m_runningDialog = nullptr;
  Trace("devices monitor: closed");
  // A close that came while the dialog ran goes on now that its modal loop (and a tray callback
  // that opened it) have returned; a message box of the dialog may have kept it open until now.
  if (std::exchange(m_closeAfterDialog, false)) PostMessageW(m_mainFrame->Hwnd(), WM_CLOSE, 0, 0);
}

void CMonitorApp::Tell(const char* text) {
  TraceF("notice: %s", text);
  HWND owner = m_mainFrame ? m_mainFrame->Hwnd() : nullptr;
  fw::ShowMessage(owner, text, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace tfm
