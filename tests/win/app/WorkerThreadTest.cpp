#include "app/WorkerThreadWin32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <vector>

#include "NullPorts.h"
#include "ProviderFolder.h"
#include "RecordingTray.h"
#include "TraceCapture.h"
#include "capi/CapiLibraryWin32.h"
#include "capi/IsdnMonitor.h"
#include "capi/IsdnMonitorThreadWin32.h"
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

// The product's three workers, each busy (the listener answering a server event that stays set, the
// poller in its 30 s pause, the monitor polling its provider), stopped as the session end stops them:
// the tray link cut first, then one stop for all. None may need the termination, none may reach the
// tray after the cut, and the registration is released once.
TEST(Workers, BusyWorkersAllEndAtTheStopWithoutTermination) {
  const test::TraceCapture trace;
  ASSERT_TRUE(SetDllDirectoryA(test::ProviderFolder("capi-complete").c_str()));
  CapiLibrary capi;
  ASSERT_TRUE(capi.Load());
  SharedFlags flags;
  os::StopEvent stop;
  const SleepFunction pause = [&stop](uint32_t ms) { stop.Wait(ms); };
  test::RecordingTray tray;
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
  test::NullCallLog callLog;
  CIsdnMonitor monitor(capi.EntryPoints(), link, callLog, flags.workersRunning, flags.callActivity, pause);
  FaxServiceWorkerContext faxWorkers{&channel, &flags, &link, pause};
  flags.workersRunning = 1;
  flags.channelReady = 1;
  WorkerThread listener("listener"), poller("poller"), isdnMonitor("isdn-monitor");
  listener.Start(IpcListenerThread, &faxWorkers);
  poller.Start(ServicePollerThread, &faxWorkers);
  isdnMonitor.Start(IsdnMonitorThreadProc, &monitor);
  ASSERT_TRUE(listener.Started() && poller.Started() && isdnMonitor.Started());
  const auto busy = [&] { return tray.Calls().size() > 10 && trace.CountStartingWith("capi: LISTEN_REQ") > 0; };
  ASSERT_TRUE(tray.WaitForCall("tip Telvaro Fax Stopped", std::chrono::seconds(5))) << "the poller did not cycle";
  for (int i = 0; i < 500 && !busy(); ++i) Sleep(10);
  ASSERT_TRUE(busy()) << "workers not busy";

  link.Detach();
  const size_t callsAtCut = tray.Calls().size();
  EXPECT_EQ((std::vector<DWORD>{0, 0, 0}),
            StopWorkers(flags.workersRunning, stop, {&isdnMonitor, &listener, &poller}, 1000));
  EXPECT_EQ(callsAtCut, tray.Calls().size()) << "a worker reached the tray after the link was cut";
  EXPECT_EQ(1, trace.CountStartingWith("Release Capi AppID."));
  SetDllDirectoryA(nullptr);
}

}  // namespace
}  // namespace tfm
