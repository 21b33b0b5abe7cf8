#pragma once
// How often a changing value is told to a screen reader: at most once per interval, so that a busy line
// does not talk over everything else. A change that comes too soon after the last announcement waits
// and is told, as the value it has by then, the first time it is asked for once the interval is over;
// a value that changed and changed back is not told at all.
#include <cstdint>
#include <optional>

namespace tfm {

class AnnouncementLimit {
 public:
  // told: the value shown when the reader first came to it, which needs no announcement.
  AnnouncementLimit(int64_t told, uint64_t intervalMs) : m_told(told), m_intervalMs(intervalMs) {}

  // The value at the time (milliseconds of a steady clock); true when it is to be announced now.
  bool ShouldAnnounce(int64_t value, uint64_t nowMs);

 private:
  int64_t m_told;
  uint64_t m_intervalMs;
  std::optional<uint64_t> m_lastAt;  // when the last announcement was made
};

}  // namespace tfm
