#include "faxservice/IpcListener.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "RecordingTray.h"
#include "faxservice/FaxServiceNames.h"

namespace tfm {
namespace {

using Block = std::array<unsigned char, kSharedBlockLength>;
using Calls = std::vector<std::string>;

Block BlockWithText(const std::string& text) {
  Block block{};
  block.fill(0xEE);  // the reserved bytes and whatever lies behind the text are not ours to read
  std::memcpy(block.data() + kServerTextOffset, text.data(), text.size());
  if (kServerTextOffset + text.size() < block.size()) block[kServerTextOffset + text.size()] = 0;
  return block;
}

TEST(ServerText, TextRunsToZeroByteOrEndOfBlock) {
  EXPECT_EQ(std::string(255, 'a'), ServerTextFromBlock(BlockWithText(std::string(255, 'a')).data()));
  // No zero byte at all: the text ends with the block, 256 bytes after offset 8.
  Block full;
  full.fill('z');
  EXPECT_EQ(std::string(256, 'z'), ServerTextFromBlock(full.data()));
}

// Plays back a list of wait results; once they are used up, waits fail and the channel goes down.
class ScriptedServerEvents final : public IServerEventPort {
 public:
  ServerEventWait WaitForServerEvent(uint32_t timeoutMs) override {
    waitTimeouts.push_back(timeoutMs);
    if (waits.empty()) return ServerEventWait::Failed;
    const auto [result, text] = waits.front();
    waits.pop_front();
    if (text) {
      block = BlockWithText(text);
      mapped = true;
    }
    return result;
  }
  const unsigned char* CurrentBlock() override { return mapped ? block.data() : nullptr; }
  // Marks the text, so that a test sees it went through the channel's conversion.
  std::string TextFromServerBytes(std::string_view bytes) const override {
    return bytes.empty() ? std::string() : std::string(bytes) + ".";
  }
  void SetClientEvent() override { ++clientEvents; }

  std::deque<std::pair<ServerEventWait, const char*>> waits;
  std::vector<uint32_t> waitTimeouts;
  Block block{};
  bool mapped = false;
  int clientEvents = 0;
};

// The listener's sleeps end it after a few, as a stop would: a test never runs it for ever.
class IpcListenerTest : public ::testing::Test {
 protected:
  IpcListenerTest() { flags.workersRunning = 1; }
  uint32_t Run(ITrayPort* trayPort) {
    return RunIpcListener(events, trayPort, flags, [this](uint32_t milliseconds) {
      sleeps.push_back(milliseconds);
      if (sleeps.size() == sleepsBeforeStop) flags.workersRunning = 0;
    });
  }
  SharedFlags flags;
  ScriptedServerEvents events;
  test::RecordingTray tray;
  std::vector<uint32_t> sleeps;
  size_t sleepsBeforeStop = 3;
};

constexpr auto kSignalled = ServerEventWait::Signalled;
constexpr auto kTimedOut = ServerEventWait::TimedOut;
constexpr auto kFailed = ServerEventWait::Failed;
constexpr auto kStopped = ServerEventWait::Stopped;

TEST_F(IpcListenerTest, ShowsEachTextWithBlanksAndAnswersEverySignal) {
  events.waits = {{kTimedOut, nullptr},
                  {kSignalled, "Fax received from 4711"},
                  {kSignalled, ""},
                  {kTimedOut, nullptr},
                  {kSignalled, "Sending fax"}};
  EXPECT_EQ(0u, Run(&tray));
  EXPECT_EQ((Calls{"shown", "tip  Fax received from 4711. ", "shown", "tip  Sending fax. "}), tray.Calls());
  EXPECT_EQ(3, events.clientEvents) << "the empty text is answered too";
  EXPECT_EQ(std::vector<uint32_t>(5, 100u), events.waitTimeouts);
}

TEST_F(IpcListenerTest, SignalIsAnsweredWithoutViewOrTray) {
  events.waits = {{kSignalled, nullptr}, {kStopped, nullptr}};
  Run(&tray);
  EXPECT_TRUE(tray.Calls().empty()) << "no view: nothing read";
  events.waits = {{kSignalled, "text"}, {kStopped, nullptr}};
  Run(nullptr);
  EXPECT_EQ(2, events.clientEvents);
}

// A server that leaves its event signalled gets one text a wait period, not a spin: every handled text
// is followed by a sleep of one period.
TEST_F(IpcListenerTest, EventLeftSignalledIsHandledOnceAPeriod) {
  sleepsBeforeStop = 4;
  events.waits.assign(10, {kSignalled, "stuck"});
  Run(&tray);
  EXPECT_EQ(std::vector<uint32_t>(4, 100u), sleeps);
  EXPECT_EQ(4, events.clientEvents);
}

// Told to stop, the listener ends after the wait that reports it, or after any wait once the flag is
// cleared: a server that keeps its event signalled cannot hold it.
TEST_F(IpcListenerTest, EndsAfterTheWaitThatFindsTheStop) {
  events.waits = {{kTimedOut, nullptr}, {kStopped, nullptr}, {kSignalled, "never"}};
  EXPECT_EQ(0u, Run(&tray));
  EXPECT_EQ(2u, events.waitTimeouts.size());
  flags.workersRunning = 0;
  events.waits = {{kSignalled, "last"}, {kSignalled, "never"}};
  EXPECT_EQ(0u, Run(&tray));
  EXPECT_EQ(3u, events.waitTimeouts.size());
  EXPECT_EQ((Calls{"shown", "tip  last. "}), tray.Calls());
  EXPECT_EQ(1, events.clientEvents) << "the text seen before the stop is still answered";
}

// No events to wait on (not connected yet, or a foreign object holds a name): the listener does not
// end, it tries again each period and takes up the events once the poller has connected them.
TEST_F(IpcListenerTest, FailedWaitsAreRetriedUntilTheEventsAreThere) {
  sleepsBeforeStop = 5;
  events.waits = {{kFailed, nullptr}, {kFailed, nullptr}, {kSignalled, "connected at last"}, {kFailed, nullptr}};
  EXPECT_EQ(0u, Run(&tray));
  EXPECT_EQ(5u, events.waitTimeouts.size());
  EXPECT_EQ((Calls{"shown", "tip  connected at last. "}), tray.Calls());
  EXPECT_EQ(std::vector<uint32_t>(5, 100u), sleeps);
}

// From version code 109 on, the server creates its map and mutex in the global namespace; the events
// are global whatever the version.
TEST(ObjectNames, GlobalNamespaceFromVersion109) {
  auto global = [](const std::string& name) { return name.rfind("Global\\", 0) == 0; };
  for (const int32_t code : {108, 109}) {
    const ChannelObjectNames names = BuildObjectNames("S", code);
    EXPECT_EQ(code > 108, global(names.map) && global(names.dataMutex) && global(names.raceMutex)) << code;
    EXPECT_TRUE(global(names.serverEvent) && global(names.clientEvent)) << code;
  }
}

}  // namespace
}  // namespace tfm
