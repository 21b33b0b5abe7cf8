#pragma once
// The call log's lines on their way into a file that may refuse them for a while (held open without
// sharing by another program, disk full, folder read-only). A line that cannot be written is kept in
// memory, after any kept before it, and written in order before the next line and whenever the ISDN
// monitor asks between polls, as soon as the file takes it. At most kCallLogKeptLimit lines are kept:
// past that the oldest kept line is dropped and counted. Listeners hear of each call once, when it is
// seen; health listeners hear once when an episode of failed writes begins and once when it ends.
// The file itself is reached through AppendToFile, which the Win32 file and the tests implement.
// Everything runs on the ISDN monitor's thread.
#include <cstdint>
#include <ctime>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "calllog/CallLogPort.h"

namespace tfm {

// Some 100,000 calls of kept lines: a day of a busy primary-rate line, a few MiB of memory.
inline constexpr size_t kCallLogKeptLimit = 100000;

class CallLogWriter : public ICallLog {
 public:
  // Before the ISDN monitor starts; listeners outlive the writer.
  void AddListener(ICallLogListener& listener) { m_listeners.push_back(&listener); }
  void AddHealthListener(ICallLogHealthListener& listener) { m_healthListeners.push_back(&listener); }

  void WriteCallLog(const char* callType, const std::string& calledNumber, const std::string& callingNumber) final;
  void FlushPending() final;

  const std::string& path() const { return m_path; }
  size_t keptCount() const { return m_kept.size(); }

 protected:
  CallLogWriter(std::string path, size_t keptLimit) : m_path(std::move(path)), m_keptLimit(keptLimit) {}
  ~CallLogWriter() = default;

  struct Appended {
    uint32_t error = 0;  // 0: all of it written; else the system's code for why not
    size_t length = 0;   // how many bytes reached the file
  };
  // Appends bytes at the file's end (creating it), opening and closing it, so that a reader opening it
  // later sees every line.
  virtual Appended AppendToFile(std::string_view bytes) = 0;
  virtual std::string ErrorText(uint32_t error) const = 0;
  // The local time now; false when the clock cannot be converted.
  virtual bool LocalNow(std::tm& local) const = 0;

 private:
  void Keep(std::string line);
  void Consume(size_t length);
  void BeginEpisode(uint32_t error);
  void EndEpisode();

  const std::string m_path;
  const size_t m_keptLimit;
  std::vector<ICallLogListener*> m_listeners;
  std::vector<ICallLogHealthListener*> m_healthListeners;
  std::deque<std::string> m_kept;  // lines not yet wholly in the file, oldest first
  size_t m_frontWritten = 0;       // bytes of the oldest kept line already in the file
  std::string m_batch;             // kept lines joined for one write
  bool m_blocked = false;          // an episode of failed writes is under way
  size_t m_writtenLate = 0;        // kept lines written since the episode began
  size_t m_dropped = 0;            // kept lines dropped past the limit in this episode
};

}  // namespace tfm
