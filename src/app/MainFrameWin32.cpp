#include "app/MainFrameWin32.h"

#include "common/Trace.h"
#include "common/TrayLink.h"
#include "framework/Dpi.h"

namespace tfm {

const fw::MessageEntry<CMainFrame> CMainFrame::kMessageMap[] = {
    fw::OnMessage<&CMainFrame::OnCreate>(WM_CREATE),
    fw::OnNotifyIcon<&CMainFrame::OnTrayCallback>(kTrayCallbackMessage),
    fw::OnMessage<&CMainFrame::OnQueryEndSession>(WM_QUERYENDSESSION),
    fw::OnEndSession<&CMainFrame::OnEndSession>(),
    fw::OnCommand<&CMainFrame::OnClose>(kCommandExit),
};

CMainFrame::CMainFrame(fw::Application& app, TrayLink& trayLink, ISessionEndHandler& sessionEnd,
                       IRunningDialog& dialog, const OsVersionInfo& version)
    : FrameWindow(app), m_trayLink(trayLink), m_sessionEnd(sessionEnd), m_dialog(dialog), m_version(version) {}

CMainFrame::~CMainFrame() {
  ReleaseTray();
  Destroy();
}

bool CMainFrame::PreCreateWindow(CREATESTRUCTW& cs) {
  cs.style = static_cast<LONG>(kFrameStyle);
  return true;
}

bool CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CMainFrame>(kMessageMap, message, wParam, lParam, result) ||
         FrameWindow::HandleMessage(message, wParam, lParam, result);
}

LRESULT CMainFrame::OnCreate() {
  m_tray = std::make_unique<CSystemTray>(Hwnd(), m_version);
  HICON icon = fw::LoadSharedSmallIcon(kResourceMain);
  // A shell that refuses the icon (its taskbar not there yet) is waited for; a system without a
  // notification area ends the program.
  if (!m_tray->Install(kTrayCallbackMessage, kApplicationTitle, icon, kResourceMain) && !m_tray->AwaitsShell())
    return -1;
  m_trayLink.Attach(m_tray.get());
  return 0;
}

void CMainFrame::OnClose() {
  // A running dialog's modal loop, and the tray callback that opened it, are below us on the stack:
  // end the dialog and close once they have returned, so that neither the dialog's owner nor the tray
  // is destroyed under them.
  if (m_dialog.EndRunningDialog()) {
    Trace("frame: closing after the dialog");
    return;
  }
  m_notifier.Destroy();
  FrameWindow::OnClose();
}

void CMainFrame::ReleaseTray() {
  m_trayLink.Detach();
  m_tray.reset();
}

void CMainFrame::OnWindowGone() {
  ReleaseTray();
  FrameWindow::OnWindowGone();
}

}  // namespace tfm
