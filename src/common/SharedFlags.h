#pragma once
#include <atomic>
#include <cstdint>

#include "common/CallActivity.h"

namespace tfm {

// The flag words shared between the user-interface thread and the workers. Each is written by one
// party and read fresh by the others on every pass of their loops.
struct SharedFlags {
  std::atomic<int32_t> workersRunning{0};  // written by ControlWorkers
  std::atomic<int32_t> capiAvailable{0};   // written by start-up
  std::atomic<int32_t> channelReady{0};    // written by start-up, then by the service poller
  std::atomic<int32_t> serviceRunning{0};  // written by the service poller
  std::atomic<int32_t> stateChanged{0};    // written by the service poller
  CallActivity callActivity;               // written by the ISDN monitor, read by the activity chart
};

}  // namespace tfm
