#include "capi/IsdnMonitor.h"

#include "MonitorFixture.h"

namespace tfm::test {
namespace {

using RegistrationTest = MonitorTest;

TEST_F(RegistrationTest, NotInstalledEndsTheThreadWithoutRegistering) {
  capi.installed = 0x1009;
  Run();
  EXPECT_EQ(0, capi.registerCalls);
  EXPECT_EQ(0, capi.fetches);
  EXPECT_TRUE(capi.released.empty());
  EXPECT_TRUE(trace.Contains("Error: No ISDN-driver installed."));
}

TEST_F(RegistrationTest, NoIdMeansNoPollingEvenWhenTheResultSaysSuccess) {
  capi.applId = 0;
  capi.registerResult = 0x1001;
  Run();
  EXPECT_EQ(1, capi.registerCalls);
  EXPECT_EQ((std::vector<CapiDword>{3072, 2, 7, 2048}), capi.registerArguments);
  EXPECT_EQ(0, capi.fetches);
  EXPECT_TRUE(capi.released.empty());
  EXPECT_TRUE(trace.Contains("Error Registering CAPI application :  too many applications"));
}

TEST_F(RegistrationTest, ListensOnEveryControllerInOrderThenReleasesOnce) {
  capi.applId = 0x0042;
  capi.controllers = 3;
  Run(3);
  const std::vector<Bytes> listens = Put(kListenReq);
  ASSERT_EQ(3u, listens.size());
  for (uint32_t c = 1; c <= 3; ++c) {
    const Bytes& m = listens[c - 1];
    SCOPED_TRACE(c);
    EXPECT_EQ(26, LengthOf(m));
    EXPECT_EQ(0x0042, ApplIdOf(m));
    EXPECT_EQ(0, NumberOf(m));
    EXPECT_EQ(c, AddressOf(m));
    EXPECT_EQ((Bytes{0x40, 0, 0, 0, 0xFF, 0x03, 0xFF, 0x1F, 0, 0, 0, 0, 0, 0}), Bytes(m.begin() + 12, m.end()));
  }
  EXPECT_EQ(std::vector<CapiDword>{0x42}, capi.released);
  EXPECT_EQ(4, capi.fetches);  // one pass before LISTEN, three in the pump
  EXPECT_TRUE(trace.Contains("Register Capi AppID: 66"));
  EXPECT_TRUE(trace.Contains("Release Capi AppID. 66"));
}

TEST_F(RegistrationTest, RefusedListenStopsAtThatControllerButPollingGoesOn) {
  capi.controllers = 3;
  capi.failPutNumber = 1;
  capi.putResult = 0x2005;
  Run(2);
  const std::vector<Bytes> listens = Put(kListenReq);
  ASSERT_EQ(2u, listens.size());
  EXPECT_EQ(2u, AddressOf(listens[1]));
  EXPECT_TRUE(trace.Contains("Listen error:  no LISTEN-Resources available"));
  EXPECT_EQ(3, capi.fetches);
  EXPECT_EQ(1u, capi.released.size());
}

TEST_F(RegistrationTest, UnreadableProfileMeansNoListenAndNoController) {
  capi.profileResult = 0x1009;
  Run();
  EXPECT_TRUE(Put(kListenReq).empty());
  EXPECT_TRUE(trace.Contains("GetCAPIProfile failed for controller:0, error:  COMMON-ISDN-API not installed"));
  EXPECT_EQ(2, capi.fetches);
}

TEST_F(RegistrationTest, PumpReadsTheFlagAfterEverySleep) {
  Run(5);
  EXPECT_EQ(6, capi.fetches);
  EXPECT_EQ(1u, capi.released.size());
}

TEST_F(RegistrationTest, ReleaseOfIdZeroCallsNothing) {
  CIsdnMonitor idle(capi.entryPoints(), tray, log, workersRunning, [](uint32_t) {});
  idle.ReleaseApplication(0);
  EXPECT_TRUE(capi.released.empty());
  EXPECT_TRUE(trace.Contains("Release Capi AppID. 0"));
}

}  // namespace
}  // namespace tfm::test
