// The scripted provider loaded as a program loads capi2032.dll: scenario delivery and timing (its
// record is read by the end-to-end scenarios).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ProviderFolder.h"
#include "os/Owned.h"

namespace {

namespace test = tfm::test;
using Bytes = std::vector<uint8_t>;

Bytes Message(const void* p) {
  const auto* b = static_cast<const uint8_t*>(p);
  return Bytes(b, b + (b[0] | (b[1] << 8)));
}

// The provider lives from its load until its owner lets it go; environment variables are read at its
// first call.
class ScriptedProviderTest : public ::testing::Test {
 protected:
  void Load(const std::string& scenarioText) {
    library.reset();  // a provider still loaded would keep its first scenario
    scenario.emplace("provider.scenario", scenarioText);
    SetEnvironmentVariableA("TFM_CAPI_SCENARIO", scenario->Path().c_str());
    library.reset(LoadLibraryA((test::ProviderFolder("capi-scripted") + "\\capi2032.dll").c_str()));
    ASSERT_TRUE(library);
    Resolve("CAPI_INSTALLED", installed);
    Resolve("CAPI_REGISTER", registerApp);
    Resolve("CAPI_RELEASE", release);
    Resolve("CAPI_PUT_MESSAGE", put);
    Resolve("CAPI_GET_MESSAGE", get);
    for (const char* name : {"CAPI_GET_PROFILE", "CAPI_GET_VERSION", "CAPI_GET_MANUFACTURER", "CAPI_GET_SERIAL_NUMBER"})
      ASSERT_NE(nullptr, GetProcAddress(library.get(), name)) << name;
  }
  template <class Fn>
  void Resolve(const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library.get(), name)));
    ASSERT_NE(nullptr, fn) << name;
  }

  std::optional<tfm::test::TempFile> scenario;
  os::UniqueModule library;  // let go before the files
  DWORD(WINAPI* installed)() = nullptr;
  DWORD(WINAPI* registerApp)(DWORD, DWORD, DWORD, DWORD, DWORD*) = nullptr;
  DWORD(WINAPI* release)(DWORD) = nullptr;
  DWORD(WINAPI* put)(DWORD, void*) = nullptr;
  DWORD(WINAPI* get)(DWORD, void**) = nullptr;
};

uint8_t kListenReq[] = {0x1A, 0x00, 0x07, 0x00, 0x05, 0x80, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x40,
                        0x00, 0x00, 0x00, 0xFF, 0x03, 0xFF, 0x1F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};

TEST_F(ScriptedProviderTest, DeliversTheScenarioAfterListenAndRecordsEveryCall) {
  Load("# two controllers\n"
       "controllers 2\n"
       "version 2 0 3 4\n"
       "register 0 7\n"
       "connect_ind plci=0x101 called=4711 calling=8\\x0a1\\x20\\x1A\\\\5 after=0\n"
       "disconnect_ind plci=0x101 reason=0x3490 after=400ms\n"
       "raw 0c00 0900 0480 5500 0102 0000\n"
       "info_ind plci=0x101 number=0x70 element=" +
       std::string(600, 'a') + "\n");
  EXPECT_EQ(0u, installed());
  DWORD id = 0;
  EXPECT_EQ(0u, registerApp(3072, 2, 7, 2048, &id));
  ASSERT_EQ(7u, id);

  void* message = nullptr;
  EXPECT_EQ(0x1104u, get(id, &message)) << "nothing is offered before LISTEN_REQ";
  EXPECT_EQ(0u, put(id, kListenReq));
  ASSERT_EQ(0u, get(id, &message));
  // Its fields are what the monitor shows in the end-to-end scenarios; here: CONNECT_IND, number 1.
  const Bytes connectInd = Message(message);
  EXPECT_EQ((Bytes{0x07, 0x00, 0x02, 0x82, 0x01, 0x00}), Bytes(connectInd.begin() + 2, connectInd.begin() + 8));
  // The calling number after the called one (0x81 "4711"): escapes give any byte of a number.
  EXPECT_EQ((Bytes{0x09, 0x01, 0x80, '8', 0x0A, '1', 0x20, 0x1A, '\\', '5'}),
            Bytes(connectInd.begin() + 20, connectInd.begin() + 30));
  void* again = nullptr;
  EXPECT_EQ(0x1104u, get(id, &again)) << "the disconnect is not due yet";
  EXPECT_EQ(connectInd, Message(message)) << "a delivered message stays readable";

  Sleep(450);
  ASSERT_EQ(0u, get(id, &message));
  EXPECT_EQ((Bytes{0x0E, 0x00, 0x07, 0x00, 0x04, 0x82, 0x02, 0x00, 0x01, 0x01, 0x00, 0x00, 0x90, 0x34}),
            Message(message));
  ASSERT_EQ(0u, get(id, &message));
  EXPECT_EQ((Bytes{0x0C, 0x00, 0x09, 0x00, 0x04, 0x80, 0x55, 0x00, 0x01, 0x02, 0x00, 0x00}), Message(message))
      << "raw bytes are delivered as they stand";
  // A struct of 255 octets or more: 0xFF, then its length as a little-endian word.
  ASSERT_EQ(0u, get(id, &message));
  const Bytes info = Message(message);
  ASSERT_EQ(317u, info.size());
  EXPECT_EQ((Bytes{0xFF, 0x2C, 0x01}), Bytes(info.begin() + 14, info.begin() + 17));
  EXPECT_EQ(Bytes(300, 0xAA), Bytes(info.begin() + 17, info.end()));
  EXPECT_EQ(0x1104u, get(id, &message));

  EXPECT_EQ(0u, release(id));
  EXPECT_EQ(0x1101u, get(id, &message));
}

}  // namespace
