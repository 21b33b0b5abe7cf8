#pragma once
// Calls in progress as the ISDN monitor sees them, for the activity chart. The monitor thread
// publishes the count whenever a call enters or leaves its call table; the user-interface thread
// reads, once a second, the most calls that were in progress since its last reading, so that a call
// shorter than a second still shows. Lock-free and allocation-free: the monitor publishes from its dispatch pass.
#include <algorithm>
#include <atomic>
#include <cstdint>

namespace tfm {

class CallActivity {
 public:
  // Monitor thread: the number of calls in progress now.
  void Publish(int32_t inProgress) {
    m_inProgress.store(inProgress);
    int32_t peak = m_peak.load();
    while (peak < inProgress && !m_peak.compare_exchange_weak(peak, inProgress)) {
    }
  }

  // Reader: the most calls in progress since the previous reading; the next period starts now.
  int32_t TakePeak() { return std::max(m_peak.exchange(0), m_inProgress.load()); }
  // Reader: the calls in progress now.
  int32_t InProgress() const { return m_inProgress.load(); }

 private:
  std::atomic<int32_t> m_inProgress{0};
  std::atomic<int32_t> m_peak{0};
};

}  // namespace tfm
