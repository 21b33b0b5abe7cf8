// The registry seam on the real (Wine) registry: the wrapper's value limits as the platform applies
// them, and modem discovery (the port of the second modem comes through the device-key search) from a .reg fixture imported with reg.exe.
#include "devices/RegistryWin32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "devices/ModemNodes.h"
#include "devices/ModemRegistry.h"
#include "devices/RegistryEx.h"
#include "ModemFixtureWin32.h"
#include "os/Owned.h"
#include "os/Version.h"

namespace tfm {
namespace {

const char* const kScratchKey = "Software\\TelvaroDevicesTest";

class RegistryWin32Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(s_fixture.Import()); }
  static void TearDownTestSuite() {
    s_fixture.Remove();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kScratchKey);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kScratchKey);
  }

  static test::ModemFixture s_fixture;
  RegistryWin32 registry;
};
test::ModemFixture RegistryWin32Test::s_fixture;

TEST_F(RegistryWin32Test, ModemsTabFromTheImportedFixtureAlsoWhenOnlyReadingIsAllowed) {
  const uint32_t platformId = os::ReadOsVersionInfo().platformId;
  ASSERT_NE(kPlatformWindows9x, platformId);
  const CModemRegistry modems(registry, platformId);
  auto summary = [](const ModemDetails& m) {
    return std::tuple{m.model, m.port, m.speed, m.initString, m.resetString, m.hasSpeaker, m.volumeLevels};
  };
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "keys a standard user may only read" : "keys as imported");
    if (readOnly) {
      ASSERT_TRUE(s_fixture.ProtectReadOnly());
      HKEY refused = nullptr;
      ASSERT_EQ(ERROR_ACCESS_DENIED, RegOpenKeyExA(HKEY_LOCAL_MACHINE, modems.GetModemKeyPath(0).c_str(), 0,
                                                   KEY_ALL_ACCESS, &refused));
    }
    EXPECT_EQ(2, modems.CountModems());
    // Strings, the binary DCB, the settings subkey and the port found through the device key.
    const std::vector<ModemDetails> found = CollectModems(modems);
    ASSERT_EQ(2u, found.size());
    EXPECT_EQ(std::tuple("Telvaro Test Modem 56K", 3, 115200, std::string("ATS7=60S30=0\\N3%C1&K3B0X4<cr>"),
                         std::string(), true, 3),
              summary(found[0]));
    EXPECT_EQ(std::tuple("Telvaro Internal ISDN Modem", 7, 0, std::string("AT<cr>"), std::string("ATZ"), false, 0),
              summary(found[1]));
  }
  ASSERT_TRUE(s_fixture.Import());  // writable again for the tests after this one
}

TEST_F(RegistryWin32Test, ValueLimitsAsThePlatformAppliesThem) {
  HKEY opened = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           &opened, nullptr));
  os::UniqueKey owned(opened);
  const HKEY scratch = owned.get();
  const std::string fits(199, 'f');
  const std::string tooLong(200, 'l');
  const BYTE dcb[28] = {28, 0, 0, 0, 0x80, 0x25};
  RegSetValueExA(scratch, "Fits", 0, REG_SZ, reinterpret_cast<const BYTE*>(fits.c_str()), 200);
  RegSetValueExA(scratch, "TooLong", 0, REG_SZ, reinterpret_cast<const BYTE*>(tooLong.c_str()), 201);
  RegSetValueExA(scratch, "Unterminated", 0, REG_SZ, reinterpret_cast<const BYTE*>("COM9"), 4);
  RegSetValueExA(scratch, "DCB", 0, REG_BINARY, dcb, sizeof dcb);
  for (const char* sub : {"b", "a", "c"}) {
    HKEY child = nullptr;
    if (RegCreateKeyExA(scratch, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr) == ERROR_SUCCESS) {
      const os::UniqueKey created(child);
    }
  }
  owned.reset();

  CRegistryEx key(registry, kLocalMachine);
  ASSERT_TRUE(key.Open(kLocalMachine, kScratchKey));
  std::string text;
  EXPECT_TRUE(key.QueryStringValue("Fits", text));
  EXPECT_EQ(fits, text);
  text = "kept";
  EXPECT_FALSE(key.QueryStringValue("TooLong", text));
  EXPECT_EQ(ERROR_MORE_DATA, key.LastResult());
  EXPECT_EQ("kept", text);
  EXPECT_TRUE(key.QueryStringValue("Unterminated", text));
  EXPECT_EQ("COM9", text);

  BYTE buffer[256];
  std::fill(std::begin(buffer), std::end(buffer), 0xEE);
  EXPECT_TRUE(key.QueryBinaryValue("DCB", buffer, 255));
  EXPECT_EQ(28u, key.LastSize());
  EXPECT_EQ(static_cast<uint32_t>(REG_BINARY), key.LastType());
  EXPECT_EQ(0x25, buffer[5]);
  EXPECT_EQ(0xEE, buffer[28]);

  std::vector<std::string> subKeys;
  EXPECT_TRUE(key.EnumSubKeys("", subKeys));
  std::sort(subKeys.begin(), subKeys.end());
  EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), subKeys);
  EXPECT_FALSE(key.EnumSubKeys("missing", subKeys));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.LastResult());
}

}  // namespace
}  // namespace tfm
