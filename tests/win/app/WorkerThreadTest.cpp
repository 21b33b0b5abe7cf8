#include "app/WorkerThreadWin32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "ProviderFolder.h"
#include "capi/CapiLibraryWin32.h"
#include "capi/IsdnMonitor.h"
#include "capi/IsdnMonitorThreadWin32.h"
#include "common/Trace.h"
#include "common/TrayLink.h"
#include "faxservice/FaxServiceWorkersWin32.h"

namespace tfm {
namespace {

DWORD WINAPI NeverEnds(LPVOID) {
  for (;;) Sleep(1000);
}

TEST(WorkerThread, ThreadThatDoesNotEndIsTerminatedWith170) {
  WorkerThread worker("stubborn");
  worker.Start(NeverEnds, nullptr);
  EXPECT_EQ(kWorkerTerminatedExitCode, worker.Stop(300));
}

TEST(WorkerThread, StoppingAWorkerNeverStartedDoesNothing) {
  WorkerThread worker("idle");
  EXPECT_FALSE(worker.Started());
  EXPECT_EQ(0u, worker.Stop());
}

std::mutex g_traceLock;
std::vector<std::string> g_traces;

void CaptureTrace(const char* line) {
  std::lock_guard guard(g_traceLock);
  g_traces.emplace_back(line);
}

int CountTraces(const char* prefix) {
  std::lock_guard guard(g_traceLock);
  int count = 0;
  for (const std::string& line : g_traces) count += line.rfind(prefix, 0) == 0;
  return count;
}

class CountingTray final : public ITrayPort {
 public:
  bool ChangeIcon(unsigned) override { return ++calls > 0; }
  bool ChangeTip(const char* text) override {
    if (std::strcmp(text, "Telvaro Fax Stopped") == 0) pollerCycled = true;
    return ++calls > 0;
  }
  void MarkEnabledAndShown() override { ++calls; }
  std::atomic<int> calls{0};
  std::atomic<bool> pollerCycled{false};
};

class NoCallLog final : public ICallLog {
  void WriteCallLog(const char*, const std::string&, const std::string&) override {}
};

// The product's three workers, each busy (the listener answering a server event that stays set, the
// poller in its 30 s pause, the monitor polling its provider), stopped as the session end stops them:
// the tray link cut first, then one stop for all. None may need the termination, none may reach the
// tray after the cut, and the registration is released once.
TEST(Workers, BusyWorkersAllEndAtTheStopWithoutTermination) {
  const TraceSink previousSink = SetTraceSink(CaptureTrace);
  ASSERT_TRUE(SetDllDirectoryA(test::ProviderFolder("capi-complete").c_str()));
  CapiLibrary capi;
  ASSERT_TRUE(capi.Load());
  SharedFlags flags;
  os::StopEvent stop;
  const SleepFunction pause = [&stop](uint32_t ms) { stop.Wait(ms); };
  CountingTray tray;
  TrayLink link;
  link.Attach(&tray);
  CInterProcessChannel channel(901, stop.Handle());
  ASSERT_TRUE(channel.CreateChannel("TelvaroWorkerStopTest"));
  ASSERT_TRUE(channel.ConnectEvents());
  os::UniqueHandle mapping(OpenFileMappingA(FILE_MAP_WRITE, FALSE, channel.names().map.c_str()));
  os::UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_TRUE(view);
  std::strcpy(static_cast<char*>(view.get()) + 8, "never reset");
  os::UniqueHandle serverEvent(OpenEventA(EVENT_MODIFY_STATE, FALSE, channel.names().serverEvent.c_str()));
  ASSERT_TRUE(SetEvent(serverEvent.get()));
  NoCallLog callLog;
  CIsdnMonitor monitor(capi.EntryPoints(), link, callLog, flags.workersRunning, pause);
  FaxServiceWorkerContext faxWorkers{&channel, &flags, &link, pause};
  flags.workersRunning = 1;
  flags.channelReady = 1;
  WorkerThread listener("listener"), poller("poller"), isdnMonitor("isdn-monitor");
  listener.Start(IpcListenerThread, &faxWorkers);
  poller.Start(ServicePollerThread, &faxWorkers);
  isdnMonitor.Start(IsdnMonitorThreadProc, &monitor);
  ASSERT_TRUE(listener.Started() && poller.Started() && isdnMonitor.Started());
  for (int i = 0; i < 500 && !(tray.pollerCycled && tray.calls > 100 && CountTraces("capi: LISTEN_REQ") > 0); ++i)
    Sleep(10);
  ASSERT_TRUE(tray.pollerCycled && tray.calls > 100 && CountTraces("capi: LISTEN_REQ") > 0) << "workers not busy";

  link.Detach();
  const int callsAtCut = tray.calls;
  EXPECT_EQ((std::vector<DWORD>{0, 0, 0}),
            StopWorkers(flags.workersRunning, stop, {&isdnMonitor, &listener, &poller}, 1000));
  EXPECT_EQ(callsAtCut, tray.calls) << "a worker reached the tray after the link was cut";
  EXPECT_EQ(1, CountTraces("Release Capi AppID."));
  SetTraceSink(previousSink);
  SetDllDirectoryA(nullptr);
}

}  // namespace
}  // namespace tfm
