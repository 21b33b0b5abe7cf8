// The registry seam on the real (Wine) registry: modem discovery from a .reg fixture imported with
// reg.exe (the port of the second modem comes through the device-key search; the DCB's size comes back
// through the seam). The value limits of the wrapper are RegistryExTest's.
#include "devices/RegistryWin32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "devices/ModemNodes.h"
#include "devices/ModemRegistry.h"
#include "ModemFixtureWin32.h"
#include "os/Version.h"

namespace tfm {
namespace {

class RegistryWin32Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(s_fixture.Import()); }
  static void TearDownTestSuite() { s_fixture.Remove(); }

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
  ASSERT_TRUE(s_fixture.Import());  // writable again, so that the fixture can be removed
}

}  // namespace
}  // namespace tfm
