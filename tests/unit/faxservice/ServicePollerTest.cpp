#include "faxservice/ServicePoller.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <tuple>
#include <vector>

#include "RecordingTray.h"

namespace tfm {
namespace {

using Calls = std::vector<std::string>;

class ScriptedProbe final : public IServiceProbe {
 public:
  int32_t QueryFaxServiceState() override {
    ++queries;
    const int32_t state = states.empty() ? 1 : states.front();
    if (!states.empty()) states.pop_front();
    return state;
  }
  std::deque<int32_t> states;
  int queries = 0;
};

class RecordingChannel final : public IChannelPort {
 public:
  bool CreateChannel(const char* baseName) override {
    calls.push_back(std::string("create ") + baseName);
    return createResult;
  }
  bool ConnectEvents() override {
    calls.push_back("connect");
    return connectResult;
  }
  Calls calls;
  bool createResult = true;
  bool connectResult = true;
};

class ServicePollerTest : public ::testing::Test, public IServiceStateListener {
 protected:
  void Cycle(int32_t state) {
    probe.states.push_back(state);
    tray.Clear();
    channel.calls.clear();
    changes.clear();
    RunServicePollerCycle(probe, &tray, this, channel, flags);
  }
  void OnServiceStateChanged(bool running) override { changes.push_back(running ? "running" : "stopped"); }
  Calls changes;
  ScriptedProbe probe;
  test::RecordingTray tray;
  RecordingChannel channel;
  SharedFlags flags;
};

const Calls kOpenChannel{"create TelvaroFaxServer", "connect"};
const Calls kRunningTray{"icon 147", "tip Telvaro Fax Server Running"};
const Calls kStoppedTray{"icon 153", "tip Telvaro Fax Stopped"};

// Start pending (2) and running (4) count as running; every other state and a failed probe (-1) as
// stopped. Each case starts from the opposite state, so every cycle is a change.
TEST_F(ServicePollerTest, OnlyStartPendingAndRunningCountAsRunning) {
  for (const int32_t state : {2, 4, 1, 3, 5, 6, 7, -1, 0, 8}) {
    SCOPED_TRACE(state);
    const bool running = state == 2 || state == 4;
    flags.serviceRunning = running ? 0 : 1;
    flags.channelReady = running ? 0 : 1;
    Cycle(state);
    EXPECT_EQ(running ? kRunningTray : kStoppedTray, tray.Calls());
    EXPECT_EQ(running ? kOpenChannel : Calls{}, channel.calls);
    EXPECT_EQ(Calls{running ? "running" : "stopped"}, changes);
    EXPECT_EQ((std::tuple{running, 1, running}),
              (std::tuple{flags.serviceRunning == 1, int(flags.stateChanged), flags.channelReady == 1}));
  }
}

// The running tooltip is written only on the change, the stopped one in every stopped cycle (the
// changes themselves are the table's above and the restart the end-to-end scenario's).
TEST_F(ServicePollerTest, TooltipsAreRepeatedOnlyWhileStopped) {
  Cycle(4);
  Cycle(4);
  EXPECT_EQ(Calls{"icon 147"}, tray.Calls());
  EXPECT_TRUE(channel.calls.empty()) << "a ready channel is not opened again";
  EXPECT_EQ(0, flags.stateChanged);
  EXPECT_TRUE(changes.empty());
  Cycle(1);
  Cycle(-1);
  EXPECT_EQ(kStoppedTray, tray.Calls());
  EXPECT_EQ(0, flags.stateChanged);
  EXPECT_TRUE(changes.empty());
}

// Ready only when the view and the events are both there; until then every running cycle tries again.
TEST_F(ServicePollerTest, ChannelIsReadyOnlyWithViewAndEvents) {
  channel.createResult = false;
  Cycle(4);
  EXPECT_EQ(Calls{"create TelvaroFaxServer"}, channel.calls) << "no events without a view";
  EXPECT_EQ(0, flags.channelReady);
  channel.createResult = true;
  channel.connectResult = false;
  Cycle(4);
  EXPECT_EQ(kOpenChannel, channel.calls);
  EXPECT_EQ(0, flags.channelReady);
  channel.connectResult = true;
  Cycle(2);
  EXPECT_EQ(kOpenChannel, channel.calls);
  EXPECT_EQ(1, flags.channelReady);
}

TEST_F(ServicePollerTest, WithoutTrayStillDrivesChannelAndFlags) {
  probe.states = {4, 1};
  RunServicePollerCycle(probe, nullptr, nullptr, channel, flags);
  EXPECT_EQ(kOpenChannel, channel.calls);
  EXPECT_EQ(1, flags.channelReady);
  RunServicePollerCycle(probe, nullptr, nullptr, channel, flags);
  EXPECT_EQ(0, flags.channelReady);
  EXPECT_EQ(1, flags.stateChanged);
}

TEST_F(ServicePollerTest, LoopProbesFirstThenSleepsAndEndsAfterCycleThatFindsStop) {
  flags.workersRunning = 1;
  flags.serviceRunning = 1;  // left over from an earlier run: the poller starts from "stopped"
  probe.states = {4, 4, 1};
  std::vector<std::string> order;
  int sleeps = 0;
  tray.Clear();
  const uint32_t exitCode = RunServicePoller(probe, &tray, this, channel, flags, [&](uint32_t ms) {
    order.push_back("sleep " + std::to_string(ms) + " after " + std::to_string(probe.queries) + " probes");
    if (++sleeps == 3) flags.workersRunning = 0;
  });
  EXPECT_EQ(0u, exitCode);
  EXPECT_EQ((Calls{"sleep 30000 after 1 probes", "sleep 30000 after 2 probes", "sleep 30000 after 3 probes"}),
            order);
  EXPECT_EQ("tip Telvaro Fax Server Running", tray.Calls().at(1)) << "first cycle saw a change to running";
  EXPECT_EQ((Calls{"running", "stopped"}), changes);
}

TEST_F(ServicePollerTest, LoopDoesNothingWhenWorkersAreNotRunning) {
  flags.serviceRunning = 1;
  flags.stateChanged = 1;
  RunServicePoller(probe, &tray, this, channel, flags, [](uint32_t) { FAIL() << "no sleep expected"; });
  EXPECT_EQ(0, probe.queries);
  EXPECT_EQ(0, flags.serviceRunning);
  EXPECT_EQ(0, flags.stateChanged);
}

}  // namespace
}  // namespace tfm
