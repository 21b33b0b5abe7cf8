#pragma once
// The notification-area icon: one per program, owned by the main frame. Its own hidden top-level
// window receives the shell's broadcasts ("TaskbarCreated", WM_SETTINGCHANGE); the icon's mouse
// messages go to the frame, which forwards them to OnCallback.
#include <windows.h>

#include <mutex>

#include "app/TrayIconState.h"
#include "common/OsVersion.h"
#include "common/TrayPort.h"
#include "framework/MessageMap.h"
#include "framework/Window.h"

namespace tfm {

inline constexpr wchar_t kTrayWindowClass[] = L"TelvaroMonitorTray";
inline constexpr UINT kTrayCallbackMessage = WM_USER + 100;  // 0x0464: wParam icon id, lParam mouse message

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

  // The frame forwards the icon's callback message here: right click shows the menu, left
  // double-click runs its default command.
  LRESULT OnCallback(UINT iconId, UINT mouseMessage);

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  class Shell;
  LRESULT OnShellRestart();
  void OnAddRetryTimer(UINT_PTR id);
  void OnSettingChange(UINT flag, const wchar_t* section);
  HMENU LoadTrayMenu(HMENU& popup) const;

  static const fw::MessageEntry<CSystemTray> kMessageMap[];

  std::mutex m_lock;  // the notification record is changed from four threads
  TrayIconState m_state;
  HWND m_commandWindow;
  bool m_shellHasIcons;
  int m_addRetriesLeft = 0;
  UINT m_defaultMenuItem = 0;
  bool m_defaultItemByPosition = true;
};

}  // namespace tfm
