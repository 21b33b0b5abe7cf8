// The registry seam on the real (Wine) registry: the wrapper's value limits as the platform applies
// them, the device-key search, and modem discovery from a .reg fixture imported with reg.exe.
#include "devices/RegistryWin32.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "devices/ModemNodes.h"
#include "devices/RegistryEx.h"
#include "ModemFixtureWin32.h"
#include "os/Owned.h"

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

TEST_F(RegistryWin32Test, ModemsTabFromTheImportedFixture) {
  ASSERT_NE(kPlatformWindows9x, ReadPlatformIdWin32());
  const CModemRegistry modems(registry, ReadPlatformIdWin32);
  EXPECT_EQ(2, modems.CountModems());
  const TreeNodeList expected{
      {"Modem 1",
       {{"Modem name :Telvaro Test Modem 56K", {}},
        {"Modem port : COM3", {}},
        {"Modem speed :115200 baud", {}},
        {"Modem Init string :ATS7=60S30=0\\N3%C1&K3B0X4<cr>", {}},
        {"Modem Reset string :", {}},
        {"Modem has Speaker : Yes", {}},
        {"Modem Speaker volume levels :3", {}}}},
      {"Modem 2",
       {{"Modem name :Telvaro Internal ISDN Modem", {}},
        {"Modem port : COM7", {}},
        {"Modem speed :0 baud", {}},
        {"Modem Init string :AT<cr>", {}},
        {"Modem Reset string :ATZ", {}},
        {"Modem has Speaker : No", {}},
        {"Modem Speaker volume levels :0", {}}}},
  };
  EXPECT_EQ(expected, BuildModemNodes(CollectModems(modems)));
}

TEST_F(RegistryWin32Test, DeviceKeySearchIgnoresCaseAndClosesItsKeys) {
  CRegistryEx root(registry, kLocalMachine);
  EXPECT_EQ("Enum\\Root\\MODEM\\0000", root.FindKeyWithValue("Enum", "Driver", "MODEM\\0003"));
  EXPECT_EQ("", root.FindKeyWithValue("Enum", "Driver", "Modem\\0009"));
  EXPECT_EQ("", root.FindKeyWithValue("NoSuchKeyAnywhere", "Driver", "Modem\\0003"));
}

TEST_F(RegistryWin32Test, ValueLimitsAsThePlatformAppliesThem) {
  HKEY created = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           &created, nullptr));
  os::UniqueKey owned(created);
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
    RegCreateKeyExA(scratch, sub, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &child, nullptr);
    const os::UniqueKey ownedChild(child);
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
