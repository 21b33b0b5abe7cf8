// The registry seam on the real (Wine) registry: modem discovery from a .reg fixture imported with
// reg.exe (the port of the second modem comes through the device-key search; the DCB's size comes back
// through the seam), and text of any script through it as UTF-8. The value limits of the wrapper are
// RegistryExTest's.
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

// Text values and key names come through the seam as UTF-8, whatever their script, terminated as their
// type says even when written without a terminator; the length asked for is the UTF-8 one.
TEST(RegistryWin32Text, ValuesAndKeyNamesOfAnyScriptComeBackAsUtf8) {
  const wchar_t* const path = L"Software\\TelvaroTest\\Text";
  HKEY raw = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &raw, nullptr));
  HKEY child = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(raw, L"\u901A\u8A71", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr));
  RegCloseKey(child);
  const auto set = [raw](const wchar_t* name, DWORD type, std::wstring_view units) {
    return RegSetValueExW(raw, name, 0, type, reinterpret_cast<const BYTE*>(units.data()),
                          static_cast<DWORD>(units.size() * sizeof(wchar_t)));
  };
  const std::wstring multi(L"\u041C\u043E\0COM4\0\0", 9);
  ASSERT_EQ(ERROR_SUCCESS, set(L"Model", REG_SZ, std::wstring_view(L"\u041C\u043E\u0434\u0435\u043C 56K", 10)));
  ASSERT_EQ(ERROR_SUCCESS, set(L"Unterminated", REG_SZ, L"COM4"));
  ASSERT_EQ(ERROR_SUCCESS, set(L"Expand", REG_EXPAND_SZ, std::wstring_view(L"%TEMP%", 7)));
  ASSERT_EQ(ERROR_SUCCESS, set(L"List", REG_MULTI_SZ, multi));

  RegistryWin32 registry;
  int32_t result = 0;
  const auto currentUser = static_cast<RegKey>(reinterpret_cast<std::uintptr_t>(HKEY_CURRENT_USER));
  const RegistryKey key = registry.Open(currentUser, "Software\\TelvaroTest\\Text", kKeyRead, result);
  ASSERT_TRUE(key) << result;
  const struct {
    const char* name;
    std::string utf8;
  } cases[] = {
      {"Model", std::string("\xD0\x9C\xD0\xBE\xD0\xB4\xD0\xB5\xD0\xBC 56K", 14) + '\0'},
      {"Unterminated", std::string("COM4", 5)},
      {"Expand", std::string("%TEMP%", 7)},
      {"List", std::string("\xD0\x9C\xD0\xBE\0COM4\0\0", 11)},
  };
  for (const auto& c : cases) {
    uint32_t size = 0;
    ASSERT_EQ(kRegSuccess, registry.QueryValue(key.get(), c.name, nullptr, nullptr, &size)) << c.name;
    EXPECT_EQ(c.utf8.size(), size) << c.name;
    std::string data(size, 'x');
    uint32_t type = 0;
    auto* bytes = reinterpret_cast<uint8_t*>(data.data());
    ASSERT_EQ(kRegSuccess, registry.QueryValue(key.get(), c.name, &type, bytes, &size));
    EXPECT_EQ(c.utf8, data) << c.name;
    uint32_t tooSmall = size - 1;
    EXPECT_EQ(kRegMoreData, registry.QueryValue(key.get(), c.name, nullptr, bytes, &tooSmall));
  }
  char name[16];
  uint32_t capacity = sizeof name;
  ASSERT_EQ(kRegSuccess, registry.EnumKey(key.get(), 0, name, &capacity));
  EXPECT_EQ("\xE9\x80\x9A\xE8\xA9\xB1", std::string(name, capacity));
  capacity = 6;  // the name's six bytes, without room for the terminator
  EXPECT_EQ(kRegMoreData, registry.EnumKey(key.get(), 0, name, &capacity));
  RegCloseKey(raw);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\TelvaroTest");
}

}  // namespace
}  // namespace tfm
