#pragma once
// Records in the Application event log, for collectors that gather them from many machines: one per
// call the log records, one when the log cannot be written and one when it can again, and one per
// change of the fax service's state. Each record's first insertion string is its whole sentence, which
// is all that the exe's message table shows for any id (a per-user install cannot register the source;
// where an administrator has, Event Viewer shows the sentence alone, and where not, the strings are
// listed and the sentence comes first). A call's record carries its parts after it, for collectors:
// calling number, called number, the caller's name (empty when the phone book has none), time.
//
// The callers are the ISDN monitor and the service poller: they only queue a record. The event log
// is written from the system's thread pool, one record after the other, so a slow or broken event
// log neither holds up nor fails them.
#include <windows.h>

#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "calllog/CallLogPort.h"
#include "faxservice/ServicePoller.h"
#include "os/Owned.h"
#include "phonebook/PhoneBookPort.h"

namespace tfm {

inline constexpr wchar_t kEventSourceName[] = L"Telvaro Fax Server Monitor";
inline constexpr DWORD kEventIncomingCall = 1;     // information
inline constexpr DWORD kEventServiceRunning = 2;   // information
inline constexpr DWORD kEventServiceStopped = 3;   // warning
inline constexpr DWORD kEventCallLogBlocked = 4;   // warning: the call log cannot be written, calls kept
inline constexpr DWORD kEventCallLogWritable = 5;  // information: the kept calls have been written
// Records waiting beyond this many mean the event log does not take them: later ones are dropped.
inline constexpr size_t kEventsPendingLimit = 256;

class CEventReporter final : public ICallLogListener, public ICallLogHealthListener, public IServiceStateListener {
 public:
  // The phone book names the callers.
  explicit CEventReporter(const IPhoneBook& phoneBook);

  void OnCallLogged(const CallLogRow& row) override;
  void OnCallLogBlocked(const std::string& path, const std::string& reason) override;
  void OnCallLogWritable(const std::string& path, size_t writtenLate, size_t dropped) override;
  void OnServiceStateChanged(bool running) override;

 private:
  struct Record {
    WORD type = 0;
    DWORD id = 0;
    std::vector<std::string> strings;  // the sentence first
  };
  void Post(WORD type, DWORD id, std::vector<std::string> strings);
  static void CALLBACK OnWork(PTP_CALLBACK_INSTANCE, void* self, PTP_WORK);
  void WritePending();

  const IPhoneBook& m_phoneBook;
  std::mutex m_writing;  // held by the one callback that writes; records go out in the order queued
  os::UniqueEventSource m_source;  // registered by the first write
  std::mutex m_lock;     // guards m_pending
  std::deque<Record> m_pending;
  // Last: it goes first, once its callbacks have ended, while what they use is still there.
  os::UniqueThreadpoolWork m_work;
};

}  // namespace tfm
