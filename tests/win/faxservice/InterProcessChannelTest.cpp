#include "faxservice/InterProcessChannelWin32.h"

#include <aclapi.h>
#include <gtest/gtest.h>
#include <sddl.h>

#include <algorithm>
#include <thread>

#include "ChannelTestSupportWin32.h"
#include "faxservice/FaxServiceNames.h"
#include "os/Owned.h"
#include "os/Process.h"

namespace tfm {
namespace {

using namespace std::chrono_literals;

constexpr int32_t kCurrentWindows = 901;

bool RunningOnWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

class ChannelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    flags.workersRunning = 1;
    flags.channelReady = 1;
  }
  void Open() {
    ASSERT_TRUE(channel.CreateChannel(kChannelBaseName)) << channel.errorText();
    ASSERT_TRUE(channel.ConnectEvents());
  }
  bool ShowsTip(const std::string& tip) { return tray.WaitForCall("tip " + tip, 2s); }
  CInterProcessChannel channel{kCurrentWindows};
  SharedFlags flags;
  test::RecordingTray tray;
};

struct AceSummary {
  DWORD aceCount = 0;
  BYTE type = 0;
  ACCESS_MASK mask = 0;
  bool authenticatedUsers = false;
  bool nullDacl = false;
};

// Reads an object's DACL back through a handle opened for reading its security.
AceSummary ReadDacl(HANDLE object) {
  AceSummary summary;
  PACL dacl = nullptr;
  os::LocalPtr<void> descriptor;  // dacl points into it
  if (GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                      descriptor.out()) != ERROR_SUCCESS)
    return summary;
  descriptor.adopt();
  summary.nullDacl = dacl == nullptr;
  ACL_SIZE_INFORMATION size{};
  ACCESS_ALLOWED_ACE* ace = nullptr;
  if (dacl && GetAclInformation(dacl, &size, sizeof size, AclSizeInformation) &&
      GetAce(dacl, 0, reinterpret_cast<void**>(&ace))) {
    summary.aceCount = size.AceCount;
    summary.type = ace->Header.AceType;
    summary.mask = ace->Mask;
    os::LocalPtr<void> expected;
    ConvertStringSidToSidA("S-1-5-11", expected.out());
    summary.authenticatedUsers = EqualSid(&ace->SidStart, expected.adopt().get());
  }
  return summary;
}

void ExpectOnlyAuthenticatedUsers(const AceSummary& dacl) {
  EXPECT_EQ(1u, dacl.aceCount);
  EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, dacl.type);
  EXPECT_EQ(static_cast<ACCESS_MASK>(GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE), dacl.mask);
  EXPECT_TRUE(dacl.authenticatedUsers);
}

TEST_F(ChannelTest, ObjectsCreatedByMonitorCarryOnlyAuthenticatedUsersEntry) {
  ASSERT_FALSE(os::UniqueHandle(OpenFileMappingA(FILE_MAP_READ, FALSE, channel.names().map.c_str()))) << "left over";
  Open();
  const os::UniqueHandle mutex(OpenMutexA(READ_CONTROL, FALSE, channel.names().dataMutex.c_str()));
  ASSERT_TRUE(mutex);
  SCOPED_TRACE("data mutex");
  ExpectOnlyAuthenticatedUsers(ReadDacl(mutex.get()));

  const os::UniqueHandle mapping(OpenFileMappingA(READ_CONTROL, FALSE, channel.names().map.c_str()));
  ASSERT_TRUE(mapping);
  SCOPED_TRACE("mapping");
  if (RunningOnWine()) {
    // Wine's SetNamedSecurityInfo accepts a kernel object but changes nothing, so the null DACL that
    // replaces the mapping's entry cannot be observed here: the mapping still shows what it was created with.
    ExpectOnlyAuthenticatedUsers(ReadDacl(mapping.get()));
  } else {
    EXPECT_TRUE(ReadDacl(mapping.get()).nullDacl);
  }
}

// Creating a "Global\\" object as a standard user does without the privilege for it.
HANDLE WINAPI RefuseMapping(HANDLE, LPSECURITY_ATTRIBUTES, DWORD, DWORD, DWORD, LPCWSTR) {
  SetLastError(ERROR_ACCESS_DENIED);
  return nullptr;
}
HANDLE WINAPI RefuseMutex(LPSECURITY_ATTRIBUTES, BOOL, LPCWSTR) { return RefuseMapping(nullptr, nullptr, 0, 0, 0, nullptr); }
HANDLE WINAPI RefuseEvent(LPSECURITY_ATTRIBUTES, BOOL, BOOL, LPCWSTR) { return RefuseMutex(nullptr, FALSE, nullptr); }

TEST_F(ChannelTest, AnAccountThatMayNotCreateOpensWhatTheServerMade) {
  CInterProcessChannel refused{kCurrentWindows, nullptr, {RefuseMapping, RefuseMutex, RefuseEvent}};
  EXPECT_FALSE(refused.CreateChannel(kChannelBaseName)) << "nothing to open before the server runs";
  EXPECT_TRUE(refused.creatingRefused());
  test::ConsoleSimulator server("post Waiting for the monitor\n", "fax-refused");
  ASSERT_TRUE(test::WaitForLine(server.log(), "posted Waiting for the monitor", 20000));
  // The poller's next cycle with the service running.
  ASSERT_TRUE(refused.CreateChannel(kChannelBaseName)) << refused.errorText();
  ASSERT_TRUE(refused.ConnectEvents());
  EXPECT_EQ("Waiting for the monitor", ServerTextFromBlock(refused.CurrentBlock()));
  test::ListenerThread listener(refused, flags, tray);
  ASSERT_TRUE(server.Join(20000));
  EXPECT_TRUE(ShowsTip(" Waiting for the monitor "));
}

TEST_F(ChannelTest, ReopeningKeepsHandleCountWhileListenerKeepsReceiving) {
  Open();
  test::ListenerThread listener(channel, flags, tray);
  test::ConsoleSimulator server("post one\npause 200\npost two\npause 200\npost three\n", "fax-reopen");
  const DWORD before = test::ProcessHandleCount();
  ASSERT_NE(0u, before);
  int rounds = 0;
  for (; rounds < 200 && !server.Join(10); ++rounds) {
    // What the poller does after every restart of the service.
    ASSERT_TRUE(channel.CreateChannel(kChannelBaseName));
    ASSERT_TRUE(channel.ConnectEvents());
  }
  EXPECT_GT(rounds, 5) << "the channel was reopened while texts were flowing";
  EXPECT_EQ(before, test::ProcessHandleCount());
  ASSERT_TRUE(server.Join(20000));
  const std::vector<std::string> log = test::ReadLines(server.log());
  for (const std::string text : {"one", "two", "three"}) {
    EXPECT_NE(log.end(), std::find(log.begin(), log.end(), "acknowledged " + text)) << text;
    EXPECT_TRUE(ShowsTip(" " + text + " ")) << text;
  }
}

// Whoever holds the race mutex (a hung fax service) delays creating by a short bound only; the next
// try, once it is free, succeeds.
TEST_F(ChannelTest, RaceMutexHeldElsewhereBoundsTheWait) {
  const os::UniqueHandle held(CreateMutexA(nullptr, FALSE, channel.names().raceMutex.c_str()));
  os::UniqueHandle release(CreateEventA(nullptr, TRUE, FALSE, nullptr));
  std::thread holder([&] {
    WaitForSingleObject(held.get(), INFINITE);
    WaitForSingleObject(release.get(), INFINITE);
    ReleaseMutex(held.get());
  });
  while (WaitForSingleObject(held.get(), 0) == WAIT_OBJECT_0) {  // until the holder has it
    ReleaseMutex(held.get());
    Sleep(1);
  }
  EXPECT_FALSE(channel.CreateChannel(kChannelBaseName));
  EXPECT_EQ(static_cast<DWORD>(ERROR_TIMEOUT), channel.lastError());
  EXPECT_EQ(nullptr, channel.CurrentBlock());
  SetEvent(release.get());
  holder.join();
  Open();
  EXPECT_NE(nullptr, channel.CurrentBlock());
}

// A foreign object under one of the channel's names makes the step fail with the system's wording, and
// everything the failing call took is given back: a second channel can still take the race mutex.
struct TakenName {
  const char* step;
  bool mapping;  // else the data mutex
  const char* errorPrefix;
};
void PrintTo(const TakenName& row, std::ostream* out) { *out << row.step; }
class ChannelFailureTest : public ::testing::TestWithParam<TakenName> {};

TEST_P(ChannelFailureTest, NameTakenGivesErrorTextAndReleasesEverything) {
  const TakenName row = GetParam();
  CInterProcessChannel channel(kCurrentWindows);
  const ChannelObjectNames names = BuildObjectNames("Collision", kCurrentWindows);
  const std::string taken = row.mapping ? names.map : names.dataMutex;
  const os::UniqueHandle squatter(CreateSemaphoreA(nullptr, 0, 1, taken.c_str()));
  ASSERT_TRUE(squatter);
  const DWORD before = test::ProcessHandleCount();

  EXPECT_FALSE(channel.CreateChannel("Collision"));
  EXPECT_EQ(std::string(row.errorPrefix) + " " + os::SystemErrorText(ERROR_INVALID_HANDLE), channel.errorText());
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), channel.lastError());
  EXPECT_EQ(nullptr, channel.CurrentBlock());
  EXPECT_EQ(ServerEventWait::Failed, channel.WaitForServerEvent(0)) << "no events to wait on";
  EXPECT_EQ(before, test::ProcessHandleCount());
  EXPECT_FALSE(os::UniqueHandle(OpenMutexA(SYNCHRONIZE, FALSE, names.raceMutex.c_str())))
      << "the race mutex was closed";
}

INSTANTIATE_TEST_SUITE_P(Steps, ChannelFailureTest,
                         ::testing::Values(TakenName{"Mapping", true, "InterProcess CreateFileMapping"},
                                           TakenName{"DataMutex", false, "InterProcess Server DataMutext"}),
                         [](const auto& test) { return std::string(test.param.step); });

}  // namespace
}  // namespace tfm
