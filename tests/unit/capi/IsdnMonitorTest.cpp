#include "capi/IsdnMonitor.h"

#include "MonitorFixture.h"

namespace tfm::test {
namespace {

using RegistrationTest = MonitorTest;

TEST_F(RegistrationTest, NoDriverOrNoIdMeansNoPollingAndNoRelease) {
  capi.installed = 0x1009;
  Run();
  EXPECT_TRUE(capi.registers.empty());
  EXPECT_TRUE(trace.Contains("Error: No ISDN-driver installed."));

  capi.installed = 0;
  capi.applId = 0;
  capi.registerResult = 0x1001;  // an id of zero counts, whatever the result says
  Run();
  EXPECT_EQ((std::vector<std::vector<CapiDword>>{{3072, 2, 7, 2048}}), capi.registers);
  EXPECT_EQ(0, capi.fetches);
  EXPECT_TRUE(capi.released.empty());
  EXPECT_TRUE(trace.Contains("Error Registering CAPI application :  too many applications"));
}

TEST_F(RegistrationTest, RefusedListenOrProfileStopsListeningButPollingGoesOn) {
  capi.controllers = 3;
  capi.failPutNumber = 1;
  capi.putResult = 0x2005;
  Run(2 * kPassesPerCallLogRetry);
  const std::vector<Bytes> listens = Put(kListenReq);
  ASSERT_EQ(2u, listens.size());
  EXPECT_EQ(2u, AddressOf(listens[1]));
  EXPECT_TRUE(trace.Contains("Listen error:  no LISTEN-Resources available"));
  EXPECT_EQ(1 + 2 * kPassesPerCallLogRetry, static_cast<uint32_t>(capi.fetches));
  EXPECT_EQ(2, log.flushes) << "call-log lines kept after a failed write are retried once a second";

  capi.put.clear();
  capi.profileResult = 0x1009;
  Run();
  EXPECT_TRUE(Put(kListenReq).empty());
  EXPECT_TRUE(trace.Contains("GetCAPIProfile failed for controller:0, error:  COMMON-ISDN-API not installed"));
  EXPECT_EQ(3 + 2 * kPassesPerCallLogRetry, static_cast<uint32_t>(capi.fetches));
  EXPECT_EQ(2u, capi.released.size());
}

TEST_F(RegistrationTest, ReleaseOfIdZeroCallsNothing) {
  CIsdnMonitor idle(capi.entryPoints(), tray, log, workersRunning, activity, [](uint32_t) {});
  idle.ReleaseApplication(0);
  EXPECT_TRUE(capi.released.empty());
  EXPECT_TRUE(trace.Contains("Release Capi AppID. 0"));
}

}  // namespace
}  // namespace tfm::test
