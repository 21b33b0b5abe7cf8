#pragma once
// CDevicesMonitorDlg: the modal, always-on-top "Telvaro Fax Devices Monitor" dialog. It owns the
// program's colour theme, which it hands to its tab-page container and the pages it hosts there, and
// the message boxes the pages show; every page gathers its data afresh when the dialog opens, and
// nothing is saved when it closes.
#include <atomic>
#include <cstdint>

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
};

inline constexpr COLORREF kThemeFirstTint = RGB(164, 175, 182);
inline constexpr COLORREF kThemeSecondTint = RGB(80, 80, 230);

class CDevicesMonitorDlg final : public fw::ResizableDialog {
 public:
  explicit CDevicesMonitorDlg(const DevicesMonitorSources& sources);

  const fw::TabPageContainer& Pages() const { return m_pages; }
  fw::TabPageContainer& Pages() { return m_pages; }
  const fw::CColorizedTheme& Theme() const { return m_theme; }

 protected:
  bool OnInitDialog() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

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
  void OnPaint();
  HICON OnQueryDragIcon() const { return m_icon.get(); }
  // The caption's and the taskbar's icons, each drawn for its size at the DPI.
  void LoadIcons(UINT dpi);
  // Moved to a monitor of another DPI: take the suggested rectangle, and let every child follow.
  void OnDpiChanged(UINT dpi, const RECT& suggested);

  static const fw::MessageEntry<CDevicesMonitorDlg> kMessageMap[];
  fw::CColorizedTheme m_theme;
  OwnedNotice m_notice{*this};
  fw::TabPageContainer m_pages;
  CIsdnInfoPage m_isdnPage;
  CModemInfoPage m_modemPage;
  CISDNActivityMonitor m_activityPage;
  CCallMonitorDlg m_callPage;
  os::UniqueIcon m_icon;       // painted while minimised, and returned for the drag icon query
  os::UniqueIcon m_smallIcon;  // in the caption
};

}  // namespace tfm
