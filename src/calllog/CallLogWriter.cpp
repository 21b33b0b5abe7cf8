#include "calllog/CallLogWriter.h"

#include <algorithm>

#include "common/Trace.h"

namespace tfm {
namespace {

// Kept lines are written in batches of about this length: one open of the file for many lines.
constexpr size_t kBatchLength = 64 * 1024;

}  // namespace

void CallLogWriter::WriteCallLog(const char* callType, const std::string& calledNumber,
                                 const std::string& callingNumber) {
  std::tm local{};
  std::string line = FormatCallLogLine(callType, calledNumber, callingNumber, LocalNow(local) ? &local : nullptr);
  const CallLogRow row = m_listeners.empty() ? CallLogRow{} : SplitCallLogLine(line);
  // The file holds CR LF line ends, as the Windows text mode wrote them.
  line.insert(line.size() - 1, "\r");
  Keep(std::move(line));
  FlushPending();
  for (ICallLogListener* listener : m_listeners) listener->OnCallLogged(row);
}

void CallLogWriter::Keep(std::string line) {
  m_kept.push_back(std::move(line));
  if (m_kept.size() <= m_keptLimit) return;
  // A line of which a part is in the file already is finished first, so that no torn line is left.
  m_kept.erase(m_kept.begin() + (m_frontWritten > 0 ? 1 : 0));
  if (m_dropped++ == 0) TraceF("call log: more than %u lines kept, the oldest dropped", static_cast<unsigned>(m_keptLimit));
}

void CallLogWriter::FlushPending() {
  while (!m_kept.empty()) {
    m_batch.assign(m_kept.front(), m_frontWritten);
    for (auto line = m_kept.begin() + 1; line != m_kept.end() && m_batch.size() + line->size() <= kBatchLength; ++line)
      m_batch += *line;
    const Appended appended = AppendToFile(m_batch);
    Consume(std::min(appended.length, m_batch.size()));
    if (appended.error != 0) {
      if (!m_blocked) BeginEpisode(appended.error);
      return;
    }
  }
  if (m_blocked) EndEpisode();
}

void CallLogWriter::Consume(size_t length) {
  length += m_frontWritten;
  while (!m_kept.empty() && length >= m_kept.front().size()) {
    length -= m_kept.front().size();
    m_kept.pop_front();
    if (m_blocked) ++m_writtenLate;
  }
  m_frontWritten = m_kept.empty() ? 0 : length;
}

void CallLogWriter::BeginEpisode(uint32_t error) {
  m_blocked = true;
  m_writtenLate = 0;
  m_dropped = 0;
  TraceF("call log: not written, error %u; lines kept until it can be", static_cast<unsigned>(error));
  const std::string reason = ErrorText(error);
  for (ICallLogHealthListener* listener : m_healthListeners) listener->OnCallLogBlocked(m_path, reason);
}

void CallLogWriter::EndEpisode() {
  m_blocked = false;
  TraceF("call log: written again, %u kept lines written, %u dropped", static_cast<unsigned>(m_writtenLate),
         static_cast<unsigned>(m_dropped));
  for (ICallLogHealthListener* listener : m_healthListeners)
    listener->OnCallLogWritable(m_path, m_writtenLate, m_dropped);
}

}  // namespace tfm
