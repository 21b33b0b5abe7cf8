#include "ui/AnnouncementLimit.h"

namespace tfm {

bool AnnouncementLimit::ShouldAnnounce(int64_t value, uint64_t nowMs) {
  if (value == m_told) return false;
  if (m_lastAt && nowMs - *m_lastAt < m_intervalMs) return false;
  m_told = value;
  m_lastAt = nowMs;
  return true;
}

}  // namespace tfm
