#include "app/CallNotificationsWin32.h"

#include <windows.h>

#include "app/CallNotice.h"
#include "common/Trace.h"
#include "common/UserNotice.h"
#include "os/Owned.h"

namespace tfm {
namespace {

bool ReadChoice() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kUserSettingsKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return true;
  const os::UniqueKey key(opened);
  DWORD type = 0;
  DWORD value = 0;
  DWORD length = sizeof value;
  const LONG result =
      RegQueryValueExW(key.get(), kCallNotificationsValue, nullptr, &type, reinterpret_cast<BYTE*>(&value), &length);
  return result != ERROR_SUCCESS || type != REG_DWORD || length != sizeof value || value != 0;
}

bool StoreChoice(bool enabled) {
  HKEY created = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kUserSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &created,
                      nullptr) != ERROR_SUCCESS)
    return false;
  const os::UniqueKey key(created);
  const DWORD value = enabled ? 1 : 0;
  return RegSetValueExW(key.get(), kCallNotificationsValue, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value) == ERROR_SUCCESS;
}

}  // namespace

CCallNotifications::CCallNotifications(ITrayPort& tray, const IPhoneBook& phoneBook)
    : m_tray(tray), m_phoneBook(phoneBook), m_enabled(ReadChoice()) {}

void CCallNotifications::OnCallLogged(const CallLogRow& row) {
  if (!m_enabled) return;
  std::string notice =
      IncomingCallNotice(row.callingNumber, row.calledNumber, m_phoneBook.NameFor(row.callingNumber));
  {
    std::lock_guard guard(m_lock);
    m_lastCall = row;
    m_lastNotice = notice;
  }
  m_tray.ShowBalloon(kProgramName, notice.c_str());
}

std::optional<CallLogRow> CCallNotifications::CallOfBalloon(const std::string& text) const {
  std::lock_guard guard(m_lock);
  if (m_lastNotice.empty() || text != m_lastNotice) return std::nullopt;
  return m_lastCall;
}

void CCallNotifications::Toggle() {
  const bool enabled = !m_enabled;
  m_enabled = enabled;
  const bool stored = StoreChoice(enabled);
  TraceF("call notifications: %s%s", enabled ? "on" : "off", stored ? "" : " (not stored)");
}

}  // namespace tfm
