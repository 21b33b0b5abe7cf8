#pragma once
// A balloon at the tray icon for every call the log records, titled with the program's name, unless
// the user has switched them off in the tray menu. The choice is kept per user in one registry value.
#include <atomic>
#include <mutex>
#include <optional>
#include <string>

#include "calllog/CallLogPort.h"
#include "common/TrayPort.h"
#include "phonebook/PhoneBookPort.h"

namespace tfm {

inline constexpr wchar_t kUserSettingsKey[] = L"Software\\Telvaro\\Fax Server Monitor";  // below HKEY_CURRENT_USER
inline constexpr wchar_t kCallNotificationsValue[] = L"CallNotifications";             // REG_DWORD, 0: off

class CCallNotifications final : public ICallLogListener {
 public:
  // Reads the user's choice. On unless the value is a 4-byte REG_DWORD holding 0: a value that is
  // missing, unreadable or of another type or size counts as never chosen, and the next switch
  // replaces it. The phone book names the callers.
  CCallNotifications(ITrayPort& tray, const IPhoneBook& phoneBook);

  // On the ISDN monitor's thread; the balloon goes through the tray link.
  void OnCallLogged(const CallLogRow& row) override;

  bool enabled() const { return m_enabled; }
  // From the tray menu: switches the balloons off or on and stores the choice. A choice that cannot be
  // stored holds until the program ends.
  void Toggle();

  // The call that the balloon with this text told of, when it was the last call told of.
  std::optional<CallLogRow> CallOfBalloon(const std::string& text) const;

 private:
  ITrayPort& m_tray;
  const IPhoneBook& m_phoneBook;
  std::atomic<bool> m_enabled;
  mutable std::mutex m_lock;  // the last call told of is written on the monitor's thread
  CallLogRow m_lastCall;
  std::string m_lastNotice;
};

}  // namespace tfm
