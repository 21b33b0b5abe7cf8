// The worker loops on threads of their own, stopped as the application stops them: workersRunning
// cleared from another thread while they run. These catch what only shows across threads (a flag read
// once and cached, a loop that never sees the stop, a data race that ThreadSanitizer reports).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "MonitorFixture.h"
#include "capi/IsdnMonitor.h"
#include "common/TrayLink.h"
#include "faxservice/IpcListener.h"
#include "faxservice/ServicePoller.h"
#include "res/resource.h"

namespace tfm {
namespace {

// A count the workers advance through their injected sleeps; the test waits on it, not on a clock.
class Progress {
 public:
  void Advance() {
    std::lock_guard guard(m_lock);
    ++m_count;
    m_changed.notify_all();
  }
  // False if the count does not reach the value within a generous bound (the worker is stuck).
  bool WaitFor(int value) {
    std::unique_lock guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::seconds(20), [&] { return m_count >= value; });
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_changed;
  int m_count = 0;
};

// Declared after the worker threads, so that a failed ASSERT stops the workers before the threads join.
class StopOnExit {
 public:
  explicit StopOnExit(std::function<void()> stop) : m_stop(std::move(stop)) {}
  ~StopOnExit() { m_stop(); }

 private:
  std::function<void()> m_stop;
};

// A fax service that flips between running (4) and stopped (1) on every probe.
class FlippingProbe final : public IServiceProbe {
 public:
  int32_t QueryFaxServiceState() override { return (m_queries++ % 2 == 0) ? 4 : 1; }

 private:
  int m_queries = 0;
};

class CountingChannel final : public IChannelPort {
 public:
  bool CreateChannel(const char*) override { return ++creates > 0; }
  bool ConnectEvents() override { return true; }
  int creates = 0;
};

// The server signals every third wait with a numbered text; once told to go down, waits fail.
class TickingServer final : public IServerEventPort {
 public:
  ServerEventWait WaitForServerEvent(uint32_t) override {
    std::this_thread::yield();
    if (down.load()) return ServerEventWait::Failed;
    if (++m_waits % 3 != 0) return ServerEventWait::TimedOut;
    const std::string text = "page " + std::to_string(m_waits / 3);
    std::snprintf(reinterpret_cast<char*>(m_block + 8), sizeof m_block - 8, "%s", text.c_str());
    return ServerEventWait::Signalled;
  }
  const unsigned char* CurrentBlock() override { return m_block; }
  void SetClientEvent() override {
    ++answered;
    answers.Advance();
  }

  std::atomic<int> answered{0};
  std::atomic<bool> down{false};
  Progress answers;

 private:
  int m_waits = 0;
  unsigned char m_block[264] = {};
};

// Both workers reach the tray through the link and end after the stop (what Detach keeps from the tray
// is the TrayLink test's).
TEST(WorkerThreads, PollerAndListenerShareTheTrayLinkAndEndAfterTheStop) {
  SharedFlags flags;
  flags.workersRunning = 1;
  test::RecordingTray tray;
  TrayLink link;
  link.Attach(&tray);
  FlippingProbe probe;
  CountingChannel channel;
  TickingServer server;
  Progress pollerCycles;
  uint32_t pollerResult = 99, listenerResult = 99;
  {
    std::jthread poller([&] {
      pollerResult = RunServicePoller(probe, &link, channel, flags, [&](uint32_t) {
        pollerCycles.Advance();
        std::this_thread::yield();
      });
    });
    std::jthread listener([&] {
      listenerResult = RunIpcListener(server, &link, flags, [](uint32_t) { std::this_thread::yield(); });
    });
    // The listener ends only once its wait fails and it finds the stop.
    StopOnExit stop([&] {
      flags.workersRunning = 0;
      server.down = true;
    });
    ASSERT_TRUE(pollerCycles.WaitFor(6));
    ASSERT_TRUE(server.answers.WaitFor(3));
  }
  EXPECT_EQ(0u, pollerResult);
  EXPECT_EQ(0u, listenerResult);
  EXPECT_GE(channel.creates, 3) << "every running cycle opens the channel";
  int running = 0, stopped = 0, texts = 0;
  for (const std::string& call : tray.Calls()) {
    running += call == "icon 147";
    stopped += call == "icon 153";
    texts += call.rfind("tip  page ", 0) == 0;
  }
  EXPECT_GE(running, 3);
  EXPECT_GE(stopped, 3);
  EXPECT_LE(texts, server.answered.load()) << "each answered signal showed its text at most once";
  EXPECT_GE(texts, 3);
}

class MonitorThreadTest : public test::MonitorTest {};

TEST_F(MonitorThreadTest, BurstIsDrainedAcrossPassesAndRegistrationReleasedAfterStop) {
  // Seven messages queued at once: more than one pass takes.
  capi.queue = {test::ConnectInd(0x101, 1, "4711", "0815"), test::ConnectInd(0x201, 2, "4712", "0816"),
                test::DisconnectInd(0x101, 3, 0x3490),      test::ConnectInd(0x202, 4, "4713", "0818"),
                test::DisconnectInd(0x201, 5, 0x3490),      test::DisconnectInd(0x202, 6, 0x3490),
                test::ConnectInd(0x301, 7, "4714", "0819")};
  Progress passes;
  workersRunning = 1;
  monitor = std::make_unique<CIsdnMonitor>(capi.entryPoints(), tray, log, workersRunning, [&](uint32_t) {
    passes.Advance();
    std::this_thread::yield();
  });
  uint32_t result = 99;
  {
    std::jthread thread([&] { result = monitor->RunThread(); });
    StopOnExit stop([&] { workersRunning = 0; });
    ASSERT_TRUE(passes.WaitFor(4));
  }
  EXPECT_EQ(0u, result);
  EXPECT_TRUE(capi.queue.empty());
  EXPECT_EQ((std::vector<std::string>{"IN|4711|0815", "IN|4712|0816", "IN|4713|0818", "IN|4714|0819"}),
            log.lines);
  EXPECT_EQ(3u, Put(test::kDisconnectResp).size());
  EXPECT_EQ((std::vector<CapiDword>{1}), capi.released) << "released once, after the stop";
}

// A tray whose first tooltip call stays in flight until the test lets it go; it notes whether the
// link's Detach had already returned by then.
class HeldTray final : public ITrayPort {
 public:
  bool ChangeIcon(unsigned) override { return ++calls > 0; }
  bool ChangeTip(const char*) override {
    if (calls++ > 2) return true;
    entered.release();
    leave.acquire();
    detachedWhileInFlight = detached.load();
    return true;
  }
  void MarkEnabledAndShown() override { ++calls; }

  std::binary_semaphore entered{0}, leave{0};
  std::atomic<bool> detached{false};
  bool detachedWhileInFlight = true;
  int calls = 0;
};

TEST(TrayLink, ReachesTheTrayOnlyWhileAttachedAndDetachWaitsForTheCallInFlight) {
  TrayLink link;
  HeldTray tray;
  EXPECT_FALSE(link.ChangeIcon(IDI_SERVICE_RUNNING)) << "nothing attached yet";
  link.Attach(&tray);
  EXPECT_TRUE(link.ChangeIcon(IDI_SERVICE_RUNNING));
  link.MarkEnabledAndShown();
  {
    std::jthread worker([&] { link.ChangeTip(" in flight "); });
    tray.entered.acquire();
    std::binary_semaphore detaching{0};
    std::jthread closer([&] {
      detaching.release();
      link.Detach();
      tray.detached = true;
    });
    detaching.acquire();
    tray.leave.release();
  }
  EXPECT_FALSE(tray.detachedWhileInFlight) << "Detach returned while the tray was still in use";
  EXPECT_FALSE(link.ChangeIcon(IDI_SERVICE_STOPPED));
  EXPECT_FALSE(link.ChangeTip("after"));
  link.MarkEnabledAndShown();
  EXPECT_EQ(3, tray.calls) << "icon, shown and the tip in flight; nothing after Detach";
}

}  // namespace
}  // namespace tfm
