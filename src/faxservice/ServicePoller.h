#pragma once
// The service poller's body, apart from the threads and the platform: one probe of the fax service per
// cycle, shown as the tray icon and tooltip, and the channel kept open while the service runs.
#include <cstdint>

#include "common/SharedFlags.h"
#include "common/Sleep.h"
#include "common/TrayPort.h"
#include "res/resource.h"

namespace tfm {

inline constexpr unsigned kServiceRunningIcon = IDI_SERVICE_RUNNING;
inline constexpr unsigned kServiceStoppedIcon = IDI_SERVICE_STOPPED;
inline constexpr const char* kServiceRunningTip = "Telvaro Fax Server Running";
inline constexpr const char* kServiceStoppedTip = "Telvaro Fax Stopped";
inline constexpr uint32_t kServicePollIntervalMs = 30000;
inline constexpr int32_t kServiceStateUnknown = -1;

class IServiceProbe {
 public:
  // The service's current state (1 stopped ... 7 paused), or -1 when it cannot be found out.
  virtual int32_t QueryFaxServiceState() = 0;

 protected:
  ~IServiceProbe() = default;
};

class IChannelPort {
 public:
  virtual bool CreateChannel(const char* baseName) = 0;
  virtual bool ConnectEvents() = 0;

 protected:
  ~IChannelPort() = default;
};

// Told of each change between running and stopped as the poller sees it, on the poller's thread. The
// poller starts from "stopped": a service found running by the first cycle is a change, one found
// stopped is not.
class IServiceStateListener {
 public:
  virtual void OnServiceStateChanged(bool running) = 0;

 protected:
  ~IServiceStateListener() = default;
};

// Start pending (2) and running (4) count as running; everything else, failure included, as stopped.
bool IsServiceRunningState(int32_t state);

// One cycle without the sleep. tray and listener may be null: the cycle then only polls and drives
// the channel.
void RunServicePollerCycle(IServiceProbe& probe, ITrayPort* tray, IServiceStateListener* listener,
                           IChannelPort& channel, SharedFlags& flags);

// The whole poller: cycles with a sleep after each until a cycle finds workersRunning cleared.
uint32_t RunServicePoller(IServiceProbe& probe, ITrayPort* tray, IServiceStateListener* listener,
                          IChannelPort& channel, SharedFlags& flags, const SleepFunction& sleep);

}  // namespace tfm
