#include "faxservice/ServicePoller.h"

#include "common/Trace.h"
#include "faxservice/FaxServiceNames.h"

namespace tfm {

bool IsServiceRunningState(int32_t state) { return state == 2 || state == 4; }

void RunServicePollerCycle(IServiceProbe& probe, ITrayPort* tray, IServiceStateListener* listener,
                           IChannelPort& channel, SharedFlags& flags) {
  const int32_t state = probe.QueryFaxServiceState();
  if (IsServiceRunningState(state)) {
    flags.stateChanged = flags.serviceRunning == 0 ? 1 : 0;
    flags.serviceRunning = 1;
    if (tray) {
      tray->ChangeIcon(kServiceRunningIcon);
      if (flags.stateChanged == 1) tray->ChangeTip(kServiceRunningTip);
    }
    if (listener && flags.stateChanged == 1) listener->OnServiceStateChanged(true);
    if (flags.channelReady == 0) {
      // Ready only with the view and both events: a service that runs before it has made its objects
      // (or a foreign object under one of their names) is tried again in each running cycle.
      flags.channelReady = channel.CreateChannel(kChannelBaseName) && channel.ConnectEvents() ? 1 : 0;
      Trace(flags.channelReady == 1 ? "poller: channel connected" : "poller: channel not connected");
    }
    return;
  }
  flags.stateChanged = flags.serviceRunning.load();
  flags.serviceRunning = 0;
  if (tray) {
    tray->ChangeIcon(kServiceStoppedIcon);
    tray->ChangeTip(kServiceStoppedTip);
  }
  if (listener && flags.stateChanged == 1) listener->OnServiceStateChanged(false);
  // The handles stay open: the listener may be waiting on them, and the server reuses the objects.
  flags.channelReady = 0;
}

uint32_t RunServicePoller(IServiceProbe& probe, ITrayPort* tray, IServiceStateListener* listener,
                          IChannelPort& channel, SharedFlags& flags, const SleepFunction& sleep) {
  flags.serviceRunning = 0;
  flags.stateChanged = 0;
  while (flags.workersRunning == 1) {
    RunServicePollerCycle(probe, tray, listener, channel, flags);
    sleep(kServicePollIntervalMs);
  }
  return 0;
}

}  // namespace tfm
