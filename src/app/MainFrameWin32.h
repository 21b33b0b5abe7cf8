#pragma once
// The hidden main frame: owns the tray icon and the notification popup, receives the tray's callback
// message and the tray menu's commands. It is never shown.
#include <memory>

#include "app/SystemTrayWin32.h"
#include "app/TaskbarNotifierWin32.h"
#include "common/OsVersion.h"
#include "framework/FrameWindow.h"
#include "res/resource.h"

namespace tfm {

class TrayLink;

inline constexpr char kApplicationTitle[] = "Telvaro Fax Server Monitor";  // message boxes, the tray's tip
inline constexpr wchar_t kFrameWindowClass[] = L"TelvaroMonitorFrame";
inline constexpr UINT kResourceMain = IDR_MAINFRAME;  // menu, application icon, title
inline constexpr UINT kCommandIsdnChecker = IDM_ISDN_CHECKER;
inline constexpr UINT kCommandCallMonitor = IDM_CALL_MONITOR;
inline constexpr UINT kCommandCallNotifications = IDM_CALL_NOTIFICATIONS;
inline constexpr UINT kCommandExit = IDM_EXIT;
inline constexpr DWORD kFrameDefaultStyle = WS_OVERLAPPEDWINDOW | fw::kFwsAddToTitle;  // 0x00CF8000
inline constexpr DWORD kFrameStyle = WS_CAPTION | WS_SYSMENU | 0x0008;                 // 0x00C80008

// Told when Windows ends the session (WM_ENDSESSION); the process ends soon after it returns.
class ISessionEndHandler {
 public:
  virtual void OnSessionEnding() = 0;

 protected:
  ~ISessionEndHandler() = default;
};

// The modal dialog that the program may be running over the frame (the Devices Monitor).
class IRunningDialog {
 public:
  // Tells a running dialog to end and the frame to be closed once it has (its modal loop returns once
  // the message being handled, or a message box of the dialog, is done); false when none runs.
  virtual bool EndRunningDialog() = 0;

 protected:
  ~IRunningDialog() = default;
};

class CMainFrame final : public fw::FrameWindow {
 public:
  // The workers reach the tray through trayLink, which the frame attaches on creation and detaches
  // before the tray goes; trayLink outlives the frame. The tray is shown if the system's version has a
  // notification area.
  CMainFrame(fw::Application& app, TrayLink& trayLink, ISessionEndHandler& sessionEnd, IRunningDialog& dialog,
             const OsVersionInfo& version);
  ~CMainFrame() override;

  CSystemTray* Tray() const { return m_tray.get(); }
  CTaskbarNotifier& Notifier() { return m_notifier; }

 protected:
  bool PreCreateWindow(CREATESTRUCTW& cs) override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnClose() override;
  void OnWindowGone() override;

 private:
  LRESULT OnCreate();
  LRESULT OnTrayCallback(WPARAM wParam, LPARAM lParam) { return m_tray ? m_tray->OnCallback(wParam, lParam) : 0; }
  bool OnQueryEndSession() { return true; }
  void OnEndSession(bool ending) {
    if (ending) m_sessionEnd.OnSessionEnding();
  }
  void ReleaseTray();

  CTaskbarNotifier m_notifier;
  std::unique_ptr<CSystemTray> m_tray;
  TrayLink& m_trayLink;
  ISessionEndHandler& m_sessionEnd;
  IRunningDialog& m_dialog;
  OsVersionInfo m_version;

  static const fw::MessageEntry<CMainFrame> kMessageMap[];
};

}  // namespace tfm
