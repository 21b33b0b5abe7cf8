#pragma once
// Records in the Application event log, for collectors that gather them from many machines: one per
// call the log records, one when the log cannot be written and one when it can again, and one per
// change of the fax service's state. The source is not registered
// (a per-user install cannot register one), so each record carries its whole text as its only
// insertion string, which the event viewer shows where it finds no message for the id.
//
// The callers are the ISDN monitor and the service poller: they only queue a record. The event log
// is written from the system's thread pool, one record after the other, so a slow or broken event
// log neither holds up nor fails them.
#include <windows.h>

#include <deque>
#include <mutex>
#include <string>

#include "calllog/CallLogPort.h"
#include "faxservice/ServicePoller.h"
#include "os/Owned.h"

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
  CEventReporter();

  void OnCallLogged(const CallLogRow& row) override;
  void OnCallLogBlocked(const std::string& path, const std::string& reason) override;
  void OnCallLogWritable(const std::string& path, size_t writtenLate, size_t dropped) override;
  void OnServiceStateChanged(bool running) override;

 private:
  struct Record {
    WORD type = 0;
    DWORD id = 0;
    std::string text;
  };
  void Post(WORD type, DWORD id, std::string text);
  static void CALLBACK OnWork(PTP_CALLBACK_INSTANCE, void* self, PTP_WORK);
  void WritePending();

  std::mutex m_writing;  // held by the one callback that writes; records go out in the order queued
  os::UniqueEventSource m_source;  // registered by the first write
  std::mutex m_lock;     // guards m_pending
  std::deque<Record> m_pending;
  // Last: it goes first, once its callbacks have ended, while what they use is still there.
  os::UniqueThreadpoolWork m_work;
};

}  // namespace tfm
