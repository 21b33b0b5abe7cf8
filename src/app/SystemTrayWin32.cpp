#include "app/SystemTrayWin32.h"

#include <shellapi.h>

#include <cstring>
#include <iterator>

#include "common/Trace.h"
#include "framework/Dpi.h"
#include "os/Owned.h"
#include "os/Text.h"

namespace tfm {

// A refused first add is tried again every 2 s for a minute, besides at every "TaskbarCreated".
constexpr UINT_PTR kAddRetryTimer = 1;
constexpr UINT kAddRetryIntervalMs = 2000;
constexpr int kAddRetries = 30;

// How long systems before Vista keep a balloon up (they take 10 to 30 s); later ones decide alone.
constexpr UINT kBalloonTimeoutMs = 10000;
static_assert(NIF_INFO == kNifInfo);

#if !defined(_WIN64)
static_assert(NOTIFYICONDATAW_V2_SIZE == 936, "the notification record is sent in its version 2 form");
#endif
static_assert(std::size(NOTIFYICONDATAW{}.szTip) == kTipCapacity &&
              std::size(NOTIFYICONDATAW{}.szInfo) == kInfoCapacity &&
              std::size(NOTIFYICONDATAW{}.szInfoTitle) == kInfoTitleCapacity);

// Sends the state's requests to the shell as the version 2 notification record (balloons, Windows 2000 on).
class CSystemTray::Shell final : public ITrayShell {
 public:
  explicit Shell(bool showTip) : m_showTip(showTip) {}
  bool Add(const TrayRecord& record) override { return Send(NIM_ADD, record); }
  bool Modify(const TrayRecord& record) override { return Send(NIM_MODIFY, record); }
  bool Delete(const TrayRecord& record) override { return Send(NIM_DELETE, record); }
  bool SetVersion(const TrayRecord& record) override {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = static_cast<HWND>(record.ownerWindow);
    data.uID = record.iconId;
    data.uVersion = NOTIFYICON_VERSION_4;
    return Shell_NotifyIconW(NIM_SETVERSION, &data) != FALSE;
  }

 private:
  bool Send(DWORD request, const TrayRecord& record) const {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = static_cast<HWND>(record.ownerWindow);
    data.uID = record.iconId;
    data.uFlags = record.flags | (m_showTip && (record.flags & NIF_TIP) ? NIF_SHOWTIP : 0);
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = static_cast<HICON>(record.icon);
    os::CopyToField(data.szTip, record.tip);
    if (record.flags & NIF_INFO) {
      os::CopyToField(data.szInfo, record.info);
      os::CopyToField(data.szInfoTitle, record.infoTitle);
      data.dwInfoFlags = NIIF_INFO;
      data.uTimeout = kBalloonTimeoutMs;
    }
    return Shell_NotifyIconW(request, &data) != FALSE;
  }

  bool m_showTip;
};

const fw::MessageEntry<CSystemTray> CSystemTray::kMessageMap[] = {
    fw::OnRegistered<&CSystemTray::OnShellRestart>(L"TaskbarCreated"),
    fw::OnSettingChange<&CSystemTray::OnSettingChange>(),
    fw::OnTimer<&CSystemTray::OnAddRetryTimer>(),
};

CSystemTray::CSystemTray(HWND commandWindow, const OsVersionInfo& version)
    : m_commandWindow(commandWindow),
      m_shellHasIcons(version.valid && version.major >= 4),
      m_showTip(version.valid && version.major >= 6) {}

CSystemTray::~CSystemTray() {
  Uninstall();
  Destroy();
}

bool CSystemTray::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CSystemTray>(kMessageMap, message, wParam, lParam, result);
}

bool CSystemTray::Install(UINT callbackMessage, const char* tip, HICON icon, UINT iconId) {
  std::lock_guard guard(m_lock);
  Shell shell(m_showTip);
  if (!m_shellHasIcons) {
    m_state.Install(shell, false, nullptr, 0, nullptr, nullptr, 0);
    return false;
  }
  WNDCLASSEXW windowClass{};
  windowClass.lpszClassName = kTrayWindowClass;
  if (RegisterClassOnce(windowClass))
    CreateEx(0, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
  const bool added = m_state.Install(shell, true, m_commandWindow, callbackMessage, tip, icon, iconId);
  TraceF("tray: install id=%u tip=[%s] %s%s", iconId, m_state.record().tip.c_str(), added ? "added" : "refused",
         m_state.keyboardVersion() ? ", version 4" : "");
  if (!added && Hwnd()) {
    m_addRetriesLeft = kAddRetries;
    SetTimer(Hwnd(), kAddRetryTimer, kAddRetryIntervalMs, nullptr);
  }
  return added;
}

bool CSystemTray::AwaitsShell() {
  std::lock_guard guard(m_lock);
  return m_state.enabled() && m_state.readdPending() && Hwnd();
}

bool CSystemTray::Uninstall() {
  std::lock_guard guard(m_lock);
  const bool wasRemoved = m_state.removed();
  Shell shell(m_showTip);
  const bool removed = m_state.Uninstall(shell);
  if (!wasRemoved && removed) Trace("tray: removed");
  return removed;
}

bool CSystemTray::ChangeIcon(unsigned iconId) {
  HICON icon = fw::LoadSharedSmallIcon(iconId);
  std::lock_guard guard(m_lock);
  Shell shell(m_showTip);
  const bool changed = m_state.ChangeIcon(shell, icon);
  TraceF("tray: icon %u%s", iconId, m_state.hidden() ? " (stored)" : "");
  return changed;
}

bool CSystemTray::ChangeTip(const char* text) {
  std::lock_guard guard(m_lock);
  Shell shell(m_showTip);
  const bool changed = m_state.ChangeTip(shell, text);
  TraceF("tray: tip [%s]%s", m_state.record().tip.c_str(), m_state.hidden() ? " (stored)" : "");
  return changed;
}

void CSystemTray::MarkEnabledAndShown() {
  std::lock_guard guard(m_lock);
  m_state.MarkEnabledAndShown();
}

bool CSystemTray::ShowBalloon(const char* title, const char* text) {
  std::lock_guard guard(m_lock);
  Shell shell(m_showTip);
  const bool shown = m_state.ShowBalloon(shell, title, text);
  TraceF("tray: balloon [%s] [%s]%s", title ? title : "", text ? text : "", shown ? "" : " not shown");
  return shown;
}

LRESULT CSystemTray::OnShellRestart() {
  std::lock_guard guard(m_lock);
  Shell shell(m_showTip);
  if (m_state.OnShellRestart(shell))
    TraceF("tray: re-add tip=[%s] %s%s", m_state.record().tip.c_str(), m_state.hidden() ? "refused" : "added",
           m_state.keyboardVersion() ? ", version 4" : "");
  if (!m_state.readdPending()) KillTimer(Hwnd(), kAddRetryTimer);
  return 0;
}

void CSystemTray::OnAddRetryTimer(UINT_PTR id) {
  if (id != kAddRetryTimer) return;
  OnShellRestart();
  if (--m_addRetriesLeft <= 0) KillTimer(Hwnd(), kAddRetryTimer);
}

void CSystemTray::OnSettingChange(UINT flag, const wchar_t*) {
  std::lock_guard guard(m_lock);
  const bool wasPending = m_state.readdPending();
  Shell shell(m_showTip);
  m_state.OnSettingChange(shell, flag);
  if (wasPending && !m_state.readdPending()) Trace("tray: re-add after work-area change");
}

HMENU CSystemTray::LoadTrayMenu(HMENU& popup) const {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(LOWORD(m_state.record().iconId)));
  popup = menu ? GetSubMenu(menu, 0) : nullptr;
  return menu;
}

std::string CSystemTray::BalloonText() {
  std::lock_guard guard(m_lock);
  return m_state.record().info;
}

// Version 4 gives the icon's anchor: the menu opens there, for the mouse and the keyboard alike. The
// oldest version gives none, and the pointer stands in.
void CSystemTray::ShowMenu(const TrayEvent& event) {
  HMENU popup = nullptr;
  const os::UniqueMenu menu(LoadTrayMenu(popup));
  if (!popup) return;
  SetMenuDefaultItem(popup, m_defaultMenuItem, m_defaultItemByPosition);
  POINT at{event.x, event.y};
  UINT align = 0;
  if (!event.anchored) {
    GetCursorPos(&at);
  } else {
    align = (GetSystemMetrics(SM_MENUDROPALIGNMENT) ? TPM_RIGHTALIGN : TPM_LEFTALIGN) | TPM_BOTTOMALIGN;
  }
  SetForegroundWindow(m_commandWindow);
  TraceF("tray: menu shown at %ld,%ld", static_cast<long>(at.x), static_cast<long>(at.y));
  TrackPopupMenu(popup, align, at.x, at.y, 0, m_commandWindow, nullptr);
  PostMessageW(m_commandWindow, WM_NULL, 0, 0);
}

void CSystemTray::RunDefaultCommand() {
  SetForegroundWindow(m_commandWindow);
  HMENU popup = nullptr;
  const os::UniqueMenu menu(LoadTrayMenu(popup));
  if (!popup) return;
  const UINT command = GetMenuItemID(popup, 0);
  TraceF("tray: default command %u", command);
  SendMessageW(m_commandWindow, WM_COMMAND, command, 0);
}

LRESULT CSystemTray::OnCallback(WPARAM wParam, LPARAM lParam) {
  const bool version4 = m_state.keyboardVersion();
  const TrayEvent event = DecodeTrayCallback(version4, wParam, static_cast<uint64_t>(lParam));
  if (event.iconId != m_state.record().iconId || !m_commandWindow) return 0;
  switch (m_gestures.OnEvent(version4, event.event)) {
    case TrayAction::ShowMenu: ShowMenu(event); break;
    case TrayAction::RunDefault: RunDefaultCommand(); break;
    case TrayAction::ShowNotifiedCall:
      Trace("tray: balloon clicked");
      SendMessageW(m_commandWindow, WM_COMMAND, kCommandNotifiedCall, 0);
      break;
    case TrayAction::None: break;
  }
  return 1;
}

}  // namespace tfm
