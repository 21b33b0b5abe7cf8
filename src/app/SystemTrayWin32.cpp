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
  bool Add(const TrayRecord& record) override { return Send(NIM_ADD, record); }
  bool Modify(const TrayRecord& record) override { return Send(NIM_MODIFY, record); }
  bool Delete(const TrayRecord& record) override { return Send(NIM_DELETE, record); }

 private:
  static bool Send(DWORD request, const TrayRecord& record) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;
    data.hWnd = static_cast<HWND>(record.ownerWindow);
    data.uID = record.iconId;
    data.uFlags = record.flags;
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
};

const fw::MessageEntry<CSystemTray> CSystemTray::kMessageMap[] = {
    fw::OnRegistered<&CSystemTray::OnShellRestart>(L"TaskbarCreated"),
    fw::OnSettingChange<&CSystemTray::OnSettingChange>(),
    fw::OnTimer<&CSystemTray::OnAddRetryTimer>(),
};

CSystemTray::CSystemTray(HWND commandWindow, const OsVersionInfo& version)
    : m_commandWindow(commandWindow), m_shellHasIcons(version.valid && version.major >= 4) {}

CSystemTray::~CSystemTray() {
  Uninstall();
  Destroy();
}

bool CSystemTray::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CSystemTray>(kMessageMap, message, wParam, lParam, result);
}

bool CSystemTray::Install(UINT callbackMessage, const char* tip, HICON icon, UINT iconId) {
  std::lock_guard guard(m_lock);
  Shell shell;
  if (!m_shellHasIcons) {
    m_state.Install(shell, false, nullptr, 0, nullptr, nullptr, 0);
    return false;
  }
  WNDCLASSEXW windowClass{};
  windowClass.lpszClassName = kTrayWindowClass;
  if (RegisterClassOnce(windowClass))
    CreateEx(0, kTrayWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr);
  const bool added = m_state.Install(shell, true, m_commandWindow, callbackMessage, tip, icon, iconId);
  TraceF("tray: install id=%u tip=[%s] %s", iconId, m_state.record().tip.c_str(), added ? "added" : "refused");
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
  Shell shell;
  const bool removed = m_state.Uninstall(shell);
  if (!wasRemoved && removed) Trace("tray: removed");
  return removed;
}

bool CSystemTray::ChangeIcon(unsigned iconId) {
  HICON icon = fw::LoadSharedSmallIcon(iconId);
  std::lock_guard guard(m_lock);
  Shell shell;
  const bool changed = m_state.ChangeIcon(shell, icon);
  TraceF("tray: icon %u%s", iconId, m_state.hidden() ? " (stored)" : "");
  return changed;
}

bool CSystemTray::ChangeTip(const char* text) {
  std::lock_guard guard(m_lock);
  Shell shell;
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
  Shell shell;
  const bool shown = m_state.ShowBalloon(shell, title, text);
  TraceF("tray: balloon [%s] [%s]%s", title ? title : "", text ? text : "", shown ? "" : " not shown");
  return shown;
}

LRESULT CSystemTray::OnShellRestart() {
  std::lock_guard guard(m_lock);
  Shell shell;
  if (m_state.OnShellRestart(shell))
    TraceF("tray: re-add tip=[%s] %s", m_state.record().tip.c_str(), m_state.hidden() ? "refused" : "added");
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
  Shell shell;
  m_state.OnSettingChange(shell, flag);
  if (wasPending && !m_state.readdPending()) Trace("tray: re-add after work-area change");
}

HMENU CSystemTray::LoadTrayMenu(HMENU& popup) const {
  HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(LOWORD(m_state.record().iconId)));
  popup = menu ? GetSubMenu(menu, 0) : nullptr;
  return menu;
}

LRESULT CSystemTray::OnCallback(UINT iconId, UINT mouseMessage) {
  if (iconId != m_state.record().iconId) return 0;
  HWND target = m_commandWindow;
  if (!target) return 0;

  HMENU popup = nullptr;
  switch (LOWORD(mouseMessage)) {
    case WM_RBUTTONUP: {
      os::UniqueMenu menu(LoadTrayMenu(popup));
      if (!popup) return 0;
      SetMenuDefaultItem(popup, m_defaultMenuItem, m_defaultItemByPosition);
      POINT cursor{};
      GetCursorPos(&cursor);
      SetForegroundWindow(target);
      Trace("tray: menu shown");
      TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, target, nullptr);
      PostMessageW(target, WM_NULL, 0, 0);
      return 1;
    }
    case WM_LBUTTONDBLCLK: {
      SetForegroundWindow(target);
      os::UniqueMenu menu(LoadTrayMenu(popup));
      if (!popup) return 0;
      const UINT command = GetMenuItemID(popup, 0);
      TraceF("tray: default command %u", command);
      SendMessageW(target, WM_COMMAND, command, 0);
      return 1;
    }
    default:
      return 1;
  }
}

}  // namespace tfm
