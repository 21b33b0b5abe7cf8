#include "app/MonitorAppWin32.h"

#include <algorithm>
#include <cstdlib>

#include "app/SingleInstance.h"
#include "capi/CapiInstalled.h"
#include "capi/IsdnMonitorThreadWin32.h"
#include "faxservice/FaxServiceNames.h"
#include "common/Trace.h"
#include "framework/TraceSinkWin32.h"
#include "ui/DevicesMonitorDlgWin32.h"

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
  m_guardMutex.reset(CreateMutexA(guard.withSecurity ? &attributes : nullptr, TRUE, guard.name));
  const bool alreadyRunning = GetLastError() == ERROR_ALREADY_EXISTS;
  TraceF("guard: %s%s", guard.name, alreadyRunning ? " already held, exiting" : "");
  return !alreadyRunning;
}

bool CMonitorApp::InitInstance() {
  fw::InstallDebugOutputTraceSink();
  TraceF("os version code %d", m_osVersionCode);
  if (!AcquireSingleInstanceGuard()) std::exit(0);
  m_dialogOpen = 0;

  m_mainFrame = std::make_unique<CMainFrame>(*this, m_trayLink, *this, m_osVersion);
  SetMainWindow(m_mainFrame.get());
  if (!m_mainFrame->LoadFrame(kResourceMain, kFrameDefaultStyle, kFrameWindowClass)) {
    Trace("start-up: frame not created");
    return false;
  }
  ShowWindow(m_mainFrame->Hwnd(), SW_HIDE);
  UpdateWindow(m_mainFrame->Hwnd());

  PreparePopup();
  m_mainFrame->Tray()->ChangeIcon(kServiceStoppedIcon);
  OpenFaxServerChannel();
  BindCapi();
  return true;
}

void CMonitorApp::OpenFaxServerChannel() {
  // Shown once at most: the service poller retries on its own while the service runs.
  if (!m_channel.CreateChannel(kChannelBaseName)) {
    Tell(m_channel.creatingRefused()
             ? "Can Not connect to telvarofax service.\n\nThis account may not create the fax service's shared "
               "objects. The monitor connects by itself once the fax service is running."
             : "Can Not connect to telvarofax service");
  }
  m_flags.channelReady = m_channel.ConnectEvents() ? 1 : 0;
}

void CMonitorApp::PreparePopup() {
  CTaskbarNotifier& popup = m_mainFrame->Notifier();
  popup.CreatePopup(m_mainFrame.get());
  popup.LoadSkin(IDB_POPUP_SKIN);
  popup.SetFonts("Arial", 100, 0, kFontUnderline);
  popup.SetColours(RGB(20, 0, 255), RGB(20, 0, 255));
  popup.SetTextArea(10, 40, popup.SkinWidth() - 10, popup.SkinHeight() - 25);
}

void CMonitorApp::BindCapi() {
  m_flags.capiAvailable = 0;
  if (!m_capiLibrary.Load()) {
    Tell("No CAPI drivers Installed");
    return;
  }
  if (!IsCapiInstalled(m_capiLibrary.EntryPoints())) {
    Trace("capi: no driver installed, workers not started");
    return;
  }
  m_flags.capiAvailable = 1;
  ControlWorkers(true);
}

void CMonitorApp::ControlWorkers(bool start) {
  if (start) {
    m_flags.workersRunning = 1;
    Trace("workers: running");
    m_listenerThread.Start(IpcListenerThread, &m_faxWorkers);
    m_pollerThread.Start(ServicePollerThread, &m_faxWorkers);
    m_monitorThread.Start(IsdnMonitorThreadProc, &m_isdnMonitor);
    m_workersStarted = true;
    return;
  }
  m_flags.workersRunning = 0;
  Trace("workers: stopping");
  for (WorkerThread* worker : {&m_monitorThread, &m_listenerThread, &m_pollerThread}) worker->Stop();
}

int CMonitorApp::ExitInstance() {
  if (m_workersStarted) ControlWorkers(false);
  Trace("exit");
  return fw::Application::ExitInstance();
}

bool CMonitorApp::OnCommand(UINT commandId) {
  if (commandId != kCommandIsdnChecker && commandId != kCommandCallMonitor) return false;
  OnDevicesMonitor();
  return true;
}

void CMonitorApp::OnSessionEnding() {
  // Windows ends the process once WM_ENDSESSION returns: release the COMMON-ISDN-API registration
  // (the monitor thread does so within one poll of the cleared flag) and remove the icon first.
  Trace("session end");
  m_flags.workersRunning = 0;
  m_monitorThread.Stop();
  m_mainFrame->ReleaseTray();
}

void CMonitorApp::OnDevicesMonitor() {
  TraceF("command: devices monitor (dialog %s)", m_dialogOpen ? "already open" : "closed");
  // The modal loop still delivers tray commands to the frame: a second one while the dialog runs
  // must not open another.
  if (m_dialogOpen) return;
  const ProfileQuery getProfile = [this](uint32_t controller, uint8_t* profile) {
    CapiProfile record{};
    const uint32_t info = m_isdnMonitor.GetCAPIProfile(controller, record);
    std::copy(record.begin(), record.end(), profile);
    return info;
  };
  CDevicesMonitorDlg dialog(
      {m_flags.capiAvailable, m_capiLibrary.EntryPoints(), getProfile, m_modemRegistry, m_flags.workersRunning});
  m_dialogOpen = 1;
  dialog.DoModal(m_mainFrame->Hwnd());
  m_dialogOpen = 0;
  Trace("devices monitor: closed");
}

void CMonitorApp::Tell(const char* text) {
  HWND owner = m_mainFrame ? m_mainFrame->Hwnd() : nullptr;
  MessageBoxA(owner, text, kApplicationTitle, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
}

}  // namespace tfm
