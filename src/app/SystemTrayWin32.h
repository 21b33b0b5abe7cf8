#pragma once
// The notification-area icon: one per program, owned by the main frame. Its own hidden top-level
// window receives the shell's broadcasts ("TaskbarCreated", WM_SETTINGCHANGE); the icon's mouse
// messages go to the frame, which forwards them to OnCallback.
#include <windows.h>

#include <mutex>

#include "app/TrayIconState.h"
#include "common/TrayPort.h"
#include "framework/Window.h"

namespace tfm {

inline constexpr char kTrayWindowClass[] = "TelvaroMonitorTray";
inline constexpr UINT kTrayCallbackMessage = WM_USER + 100;  // 0x0464: wParam icon id, lParam mouse message

class CSystemTray final : public fw::Window, public ITrayPort {
 public:
  CSystemTray();
  ~CSystemTray() override;

  // Registers "TaskbarCreated"; called once at program start.
  static void RegisterShellMessages();

  bool Install(HWND owner, UINT callbackMessage, const char* tip, HICON icon, UINT iconId);
  bool Uninstall();

  bool ChangeIcon(unsigned iconId) override;
  bool ChangeTip(const char* text) override;
  void MarkEnabledAndShown() override;

  // The frame forwards the icon's callback message here: right click shows the menu, left
  // double-click runs its default command.
  LRESULT OnCallback(UINT iconId, UINT mouseMessage);

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  class Shell;
  LRESULT OnShellRestart();
  void OnSettingChange(UINT flag, const char* section);
  HMENU LoadTrayMenu(HMENU& popup) const;

  std::mutex m_lock;  // the notification record is changed from four threads
  TrayIconState m_state;
  UINT m_defaultMenuItem = 0;
  bool m_defaultItemByPosition = true;

  static UINT s_taskbarCreated;
  static const fw::MessageEntry<CSystemTray> kMessageMap[];
};

}  // namespace tfm
