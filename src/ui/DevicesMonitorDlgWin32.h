#pragma once
// CDevicesMonitorDlg: the modal, always-on-top, resizable "Telvaro Fax Devices Monitor" dialog. It
// owns the program's colour theme, which it hands to its tab-page container and the pages it hosts
// there, and the message boxes the pages show; every page gathers its data afresh when the dialog
// opens, and nothing is saved when it closes. It opens on the tab its command asks for, and comes to
// the front on another tab when a command asks while it runs.
#include <atomic>
#include <cstdint>
#include <optional>

#include "capi/CapiEntryPoints.h"
#include "common/UserNotice.h"
#include "devices/IsdnInfoNodes.h"
#include "devices/IsdnInfoPageWin32.h"
#include "devices/ModemInfoPageWin32.h"
#include "devices/ModemRegistry.h"
#include "framework/ColorizedTheme.h"
#include "framework/ResizableDialog.h"
#include "framework/TabPageContainer.h"
#include "os/Owned.h"
#include "ui/ActivityMonitorPageWin32.h"
#include "ui/CallMonitorPageWin32.h"

namespace tfm {

// What the pages read, owned by the application.
struct DevicesMonitorSources {
  const std::atomic<int32_t>& capiAvailable;
  const CapiEntryPoints& capi;
  ProfileQuery getProfile;
  const CModemRegistry& modems;
  const std::atomic<int32_t>& workersRunning;  // the activity chart replays its history only while set
  CallActivity& activity;                      // the activity chart's samples
  CallFeed& callFeed;                          // calls logged while the dialog is open
  IPhoneBook* phoneBook = nullptr;             // the callers' names; null for none
};

// The tabs, in the order they are shown.
enum class DevicesMonitorTab { IsdnDevices, Modems, CallMonitor, ActivityMonitor };

inline constexpr COLORREF kThemeFirstTint = RGB(164, 175, 182);
inline constexpr COLORREF kThemeSecondTint = RGB(80, 80, 230);

class CDevicesMonitorDlg final : public fw::ResizableDialog {
 public:
  CDevicesMonitorDlg(const DevicesMonitorSources& sources, DevicesMonitorTab firstTab);

  // Selects the tab and brings the running dialog to the front, restored if it was minimised.
  void ShowTab(DevicesMonitorTab tab);
  // Selects the call on the Call Monitor tab and shows that tab; before the dialog runs, once it does.
  void ShowCall(const CallLogRow& call);

  const fw::TabPageContainer& Pages() const { return m_pages; }
  fw::TabPageContainer& Pages() { return m_pages; }
  const fw::CColorizedTheme& Theme() const { return m_theme; }

 protected:
  bool OnInitDialog() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool PreTranslateMessage(const MSG& message) override;

 private:
  // Message boxes owned by the dialog, so that they stay in front of it and it waits for them.
  class OwnedNotice final : public IUserNotice {
   public:
    explicit OwnedNotice(const CDevicesMonitorDlg& dialog) : m_dialog(dialog) {}
    void Tell(const char* text) override;

   private:
    const CDevicesMonitorDlg& m_dialog;
  };

  void AddPage(fw::Dialog& page, const char* title);
  bool MoveFocusOnTab(const MSG& message);
  static bool KeepEnterInList(const MSG& message);
  void OnPaint();
  HICON OnQueryDragIcon() const { return m_icon.get(); }
  // The caption's and the taskbar's icons, each drawn for its size at the DPI.
  void LoadIcons(UINT dpi);
  // Moved to a monitor of another DPI: take the suggested rectangle, and let every child follow.
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  // Every window of the dialog in the system's message font at the DPI (the user's face and size).
  void ApplyMessageFont(UINT dpi);
  // The system's colours or theme changed: the theme follows (high contrast on or off), the pages and
  // their controls hear of it, and everything is drawn again.
  void OnColoursChanged();
  void OnThemeChanged();
  void OnSettingChange(UINT flag, const wchar_t* section);

  static const fw::MessageEntry<CDevicesMonitorDlg> kMessageMap[];
  fw::CColorizedTheme m_theme;
  OwnedNotice m_notice{*this};
  fw::TabPageContainer m_pages;
  CIsdnInfoPage m_isdnPage;
  CModemInfoPage m_modemPage;
  CISDNActivityMonitor m_activityPage;
  CCallMonitorDlg m_callPage;
  DevicesMonitorTab m_firstTab;
  std::optional<CallLogRow> m_callToShow;
  os::UniqueIcon m_icon;       // painted while minimised, and returned for the drag icon query
  os::UniqueIcon m_smallIcon;  // in the caption
  os::UniqueFont m_font;       // the message font every window of the dialog uses
};

}  // namespace tfm
