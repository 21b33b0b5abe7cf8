#pragma once
// The phone book on Windows: the user's file %APPDATA%\Telvaro\Fax Server Monitor\phonebook.csv,
// written with the user's list separator, numbers matched by the user's dialing location, and a look
// at the file's last-write time every two seconds on the system's thread pool (no thread of our own,
// nothing read while the file stays as it is).
#include <windows.h>

#include <string>

#include "devices/RegistryApi.h"
#include "os/Owned.h"
#include "phonebook/PhoneBook.h"

namespace tfm {

inline constexpr DWORD kPhoneBookCheckIntervalMs = 2000;

class CPhoneBookWin32 final : private IPhoneBookStore {
 public:
  // notice: told of broken lines (on the thread that read the file).
  CPhoneBookWin32(IRegistry& registry, PhoneBook::BrokenLinesNotice notice);
  CPhoneBookWin32(const CPhoneBookWin32&) = delete;
  CPhoneBookWin32& operator=(const CPhoneBookWin32&) = delete;

  // Reads the file, then looks for changes until the object goes.
  void Watch();
  PhoneBook& Book() { return m_book; }
  const std::wstring& Path() const { return m_path; }

 private:
  std::uint64_t Stamp() override;
  ReadResult Read(std::string& bytes, std::string& error) override;
  bool Replace(const std::string& bytes, std::string& error) override;
  char Separator() override;
  DialingLocation Location() override;
  static void CALLBACK OnTimer(PTP_CALLBACK_INSTANCE, void* self, PTP_TIMER);

  IRegistry& m_registry;
  const std::wstring m_folder;  // empty when the system names no application-data folder
  const std::wstring m_path;
  PhoneBook m_book;
  // Last: it goes first, once its callback has ended, while the book is still there.
  os::UniqueThreadpoolTimer m_timer;
};

}  // namespace tfm
