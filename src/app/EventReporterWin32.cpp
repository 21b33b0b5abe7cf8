#include "app/EventReporterWin32.h"

#include <utility>

#include "app/CallLogNotice.h"
#include "app/CallNotice.h"
#include "common/Trace.h"
#include "faxservice/FaxServiceNames.h"
#include "os/Text.h"

namespace tfm {

CEventReporter::CEventReporter(const IPhoneBook& phoneBook)
    : m_phoneBook(phoneBook), m_work(CreateThreadpoolWork(&CEventReporter::OnWork, this, nullptr)) {}

void CEventReporter::OnCallLogged(const CallLogRow& row) {
  std::string name = m_phoneBook.NameFor(row.callingNumber);
  std::string sentence = IncomingCallNotice(row.callingNumber, row.calledNumber, name);
  Post(EVENTLOG_INFORMATION_TYPE, kEventIncomingCall,
       {std::move(sentence), row.callingNumber, row.calledNumber, std::move(name), row.date + " " + row.time});
}

void CEventReporter::OnCallLogBlocked(const std::string& path, const std::string& reason) {
  Post(EVENTLOG_WARNING_TYPE, kEventCallLogBlocked, {CallLogBlockedRecord(path, reason)});
}

void CEventReporter::OnCallLogWritable(const std::string& path, size_t writtenLate, size_t dropped) {
  Post(EVENTLOG_INFORMATION_TYPE, kEventCallLogWritable, {CallLogWritableRecord(path, writtenLate, dropped)});
}

void CEventReporter::OnServiceStateChanged(bool running) {
  const std::string service = kFaxServiceName;
  if (running)
    Post(EVENTLOG_INFORMATION_TYPE, kEventServiceRunning, {"The fax service " + service + " is running."});
  else
    Post(EVENTLOG_WARNING_TYPE, kEventServiceStopped, {"The fax service " + service + " has stopped."});
}

void CEventReporter::Post(WORD type, DWORD id, std::vector<std::string> strings) {
  if (!m_work) return;
  {
    std::lock_guard guard(m_lock);
    if (m_pending.size() >= kEventsPendingLimit) {
      Trace("event log: not taking records, one dropped");
      return;
    }
    m_pending.push_back({type, id, std::move(strings)});
  }
  SubmitThreadpoolWork(m_work.get());
}

void CALLBACK CEventReporter::OnWork(PTP_CALLBACK_INSTANCE, void* self, PTP_WORK) {
  static_cast<CEventReporter*>(self)->WritePending();
}

void CEventReporter::WritePending() {
  std::lock_guard writing(m_writing);
  if (!m_source) {
    m_source.reset(RegisterEventSourceW(nullptr, kEventSourceName));
    if (!m_source) TraceF("event log: source not opened, error %lu", GetLastError());
  }
  for (;;) {
    Record record;
    {
      std::lock_guard guard(m_lock);
      if (m_pending.empty()) return;
      record = std::move(m_pending.front());
      m_pending.pop_front();
    }
    std::vector<std::wstring> texts;
    std::vector<const wchar_t*> strings;
    for (const std::string& text : record.strings) texts.push_back(os::Wide(text));
    for (const std::wstring& text : texts) strings.push_back(text.c_str());
    if (m_source && !ReportEventW(m_source.get(), record.type, 0, record.id, nullptr, static_cast<WORD>(strings.size()),
                                  0, strings.data(), nullptr))
      TraceF("event log: record %lu not written, error %lu", record.id, GetLastError());
  }
}

}  // namespace tfm
