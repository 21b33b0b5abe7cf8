#pragma once
// The notification-area icon: one per program, owned by the main frame. Its own hidden top-level
// window receives the shell's broadcasts ("TaskbarCreated", WM_SETTINGCHANGE); the icon's mouse
// messages go to the frame, which forwards them to OnCallback.
#include <windows.h>

#include <mutex>
#include <string>

#include "app/TrayCallback.h"
#include "app/TrayIconState.h"
#include "common/OsVersion.h"
#include "common/TrayPort.h"
#include "framework/MessageMap.h"
#include "framework/Window.h"
#include "res/resource.h"

namespace tfm {

inline constexpr UINT kCommandNotifiedCall = IDM_SHOW_NOTIFIED_CALL;  // sent to the frame: a balloon was clicked
inline constexpr wchar_t kTrayWindowClass[] = L"TelvaroMonitorTray";
// 0x0464. At NOTIFYICON_VERSION_4: wParam the icon's anchor (screen x, y), lParam the event (low word)
// and the icon id (high word); at the oldest version: wParam the icon id, lParam the mouse message.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 100;

class CSystemTray final : public fw::Window, public ITrayPort {
 public:
  // The icon's mouse messages and the menu's commands go to commandWindow (the frame); systems before
  // version 4 have no notification area, and Install refuses there.
  CSystemTray(HWND commandWindow, const OsVersionInfo& version);
  ~CSystemTray() override;

  // False when the icon could not be added. If the shell refused it (its taskbar may not exist yet,
  // as at logon), the tray keeps trying: at "TaskbarCreated" and on a timer for a while.
  bool Install(UINT callbackMessage, const char* tip, HICON icon, UINT iconId);
  // The add was refused and the tray is waiting for the shell to take the icon.
  bool AwaitsShell();
  bool Uninstall();

  bool ChangeIcon(unsigned iconId) override;
  bool ChangeTip(const char* text) override;
  void MarkEnabledAndShown() override;
  bool ShowBalloon(const char* title, const char* text) override;

  // The frame forwards the icon's callback message here: a right click or the context-menu key shows
  // the menu at the icon, a double-click, Enter or Space runs its default command, and a click on a
  // balloon sends the frame kCommandNotifiedCall.
  LRESULT OnCallback(WPARAM wParam, LPARAM lParam);
  // The text of the balloon shown last (UTF-8); empty before the first.
  std::string BalloonText();

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  class Shell;
  LRESULT OnShellRestart();
  void OnAddRetryTimer(UINT_PTR id);
  void OnSettingChange(UINT flag, const wchar_t* section);
  HMENU LoadTrayMenu(HMENU& popup) const;
  void ShowMenu(const TrayEvent& event);
  void RunDefaultCommand();

  static const fw::MessageEntry<CSystemTray> kMessageMap[];

  std::mutex m_lock;  // the notification record is changed from four threads
  TrayIconState m_state;
  HWND m_commandWindow;
  bool m_shellHasIcons;
  bool m_showTip;  // Vista on hides the standard tooltip of a version 4 icon unless asked to show it
  TrayGestures m_gestures;
  int m_addRetriesLeft = 0;
  UINT m_defaultMenuItem = 0;
  bool m_defaultItemByPosition = true;
};

}  // namespace tfm
