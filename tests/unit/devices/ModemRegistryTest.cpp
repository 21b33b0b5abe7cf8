#include "devices/ModemRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "devices/MemoryRegistry.h"
#include "devices/ModemNodes.h"

namespace tfm {
namespace {

constexpr uint32_t kPlatformNt = 2;

const std::string kClassKey = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}\\";

std::vector<uint8_t> Dcb(uint32_t baud, size_t length = 28) {
  std::vector<uint8_t> dcb(length, 0);
  for (size_t i = 0; i < 4 && 4 + i < length; ++i) dcb[4 + i] = static_cast<uint8_t>(baud >> (8 * i));
  return dcb;
}

class ModemRegistryTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_EQ(0u, registry.OpenHandleCount()) << "a key was left open"; }

  std::string Key(const std::string& instance) { return kClassKey + instance; }
  void AddModem(const std::string& instance, const std::string& model, const std::string& port) {
    registry.SetString(Key(instance), "Model", model);
    if (!port.empty()) registry.SetString(Key(instance), "AttachedTo", port);
  }
  void Set(const std::string& instance, const std::string& name, const std::string& text) {
    registry.SetString(Key(instance) + "\\Settings", name, text);
  }

  MemoryRegistry registry;
  CModemRegistry modems{registry, kPlatformNt};
};

// The paths themselves are used by every test below; here the instance numbers at their edges.
TEST_F(ModemRegistryTest, KeyPathsForBothPlatformFamilies) {
  EXPECT_EQ(kClassKey + "0009", CModemRegistry(registry, 0).GetModemKeyPath(9)) << "a failed query is not 9x";
  EXPECT_EQ("00-1", CModemRegistry::FormatInstanceKey(-1));  // "no modem": a key that never exists
}

TEST_F(ModemRegistryTest, CountsInstancesWithGapsAndSkipsVirtualModems) {
  AddModem("0000", "Standard 56000 bps Modem", "COM1");
  AddModem("0002", "Another Modem", "");
  AddModem("0003", "Acme IP Virtual Modem #2", "COM5");
  AddModem("0004", "acme ip virtual modem", "COM6");  // the words count only in their exact case
  registry.SetString(Key("0005"), "Model", "");
  AddModem("0010", "Beyond the ten instances", "COM9");
  EXPECT_EQ(3, modems.CountModems());

  const CModemRegistry modems9x(registry, kPlatformWindows9x);
  EXPECT_EQ(0, modems9x.CountModems());
  registry.SetString("SYSTEM\\CurrentControlSet\\Services\\Class\\Modem\\0009", "Model", "Old Modem");
  EXPECT_EQ(1, modems9x.CountModems());
}

TEST_F(ModemRegistryTest, PortFromAttachedToOrFromTheDeviceKeySearch) {
  AddModem("0000", "A", "COM3");
  AddModem("0001", "B", "COM12");
  AddModem("0002", "C", "COM");  // not empty, so no search, though a device key names this modem
  registry.SetString("Enum\\Root\\MODEM\\0002", "Driver", "Modem\\0002");
  registry.SetString("Enum\\Root\\MODEM\\0002", "PORTNAME", "COM8");
  AddModem("0003", "D", "");
  registry.SetString("Enum\\Root\\MODEM\\0000", "Driver", "modem\\0003");
  registry.SetString("Enum\\Root\\MODEM\\0000", "PORTNAME", "COM7");
  AddModem("0004", "E", "");
  registry.SetString("Enum\\Root\\MODEM\\0001", "Driver", "Modem\\0004");  // found, but no PORTNAME
  AddModem("0005", "F", "");

  EXPECT_EQ(3, modems.GetModemPort(0));
  EXPECT_EQ(12, modems.GetModemPort(1));
  EXPECT_EQ(0, modems.GetModemPort(2));
  EXPECT_EQ(7, modems.GetModemPort(3));
  EXPECT_EQ(0, modems.GetModemPort(4));
  EXPECT_EQ(0, modems.GetModemPort(5));
}

TEST(PortNumber, LeadingDigitsAfterThreeCharacters) {
  const std::pair<const char*, int32_t> rows[] = {{"COM3", 3},         {"COM12", 12},   {"COM", 0},  {"CO", 0},
                                                  {"", 0},             {"COM4:", 4},    {"COMx5", 0}, {"LPT2", 2},
                                                  {"COM2147483647", 2147483647}, {"COM2147483648", 0}, {"COM-1", 0}};
  for (const auto& [text, port] : rows) EXPECT_EQ(port, ParsePortNumber(text)) << text;
}

TEST_F(ModemRegistryTest, FindsTheLowestInstanceWithAPortWithoutRegardToCase) {
  AddModem("0000", "Shared Model", "");  // no port: never found by name
  AddModem("0001", "SHARED model", "COM2");
  AddModem("0002", "shared MODEL", "COM3");
  EXPECT_EQ(1, modems.FindModemIndex("Shared Model"));
  EXPECT_EQ(2, modems.GetModemPortByName("Shared Model"));
  EXPECT_EQ(-1, modems.FindModemIndex(""));
  EXPECT_EQ(-1, modems.FindModemIndex("Shared"));
}

TEST_F(ModemRegistryTest, SpeedFromTheStoredControlBlock) {
  const std::pair<std::vector<uint8_t>, int32_t> rows[] = {
      {Dcb(115200), 115200}, {Dcb(600), 0}, {Dcb(110), 110}, {Dcb(230400), 230400}, {Dcb(460800), 0},
      {Dcb(9600, 8), 9600},  {Dcb(9600, 7), 0},  // too short to hold the baud rate
      {Dcb(9600, 255), 9600}, {Dcb(9600, 256), 0},  // beyond the 255-byte read
  };
  AddModem("0000", "M", "COM1");
  for (const auto& [dcb, speed] : rows) {
    registry.SetValue(Key("0000"), "DCB", kRegBinary, dcb);
    EXPECT_EQ(speed, modems.GetModemSpeed("M")) << dcb.size();
  }
  registry.SetValue(Key("0000"), "DCB", kRegBinary, Dcb(57600));
  registry.SetReadOnly(Key("0000"));  // a standard user may only read the modem keys
  EXPECT_EQ(57600, modems.GetModemSpeed("M"));
}

TEST_F(ModemRegistryTest, ResetStringNoneInAnyCaseIsEmpty) {
  AddModem("0000", "M", "COM1");
  const std::pair<const char*, const char*> rows[] = {
      {"None", ""}, {"NONE", ""}, {"none", ""}, {"ATZ<cr>", "ATZ<cr>"}, {"NONE ", "NONE "}};
  for (const auto& [stored, shown] : rows) {
    registry.SetString(Key("0000"), "Reset", stored);
    EXPECT_EQ(shown, modems.GetModemResetString("M"));
  }
}

TEST_F(ModemRegistryTest, SpeakerNeedsBothModesAndLevelsCountTheVolumes) {
  AddModem("0000", "M", "COM1");
  Set("0000", "SpeakerMode_Dial", "M1");
  Set("0000", "SpeakerVolume_Low", "L0");
  Set("0000", "SpeakerVolume_Med", "L2");
  EXPECT_FALSE(modems.HasSpeaker("M"));
  EXPECT_EQ(2, modems.GetSpeakerVolumeLevels("M"));
  Set("0000", "SpeakerMode_OFF", "M0");
  EXPECT_TRUE(modems.HasSpeaker("M"));

  AddModem("0001", "N", "COM2");
  Set("0001", "SpeakerMode_OFF", "M0");
  Set("0001", "SpeakerVolume_High", "L3");
  EXPECT_FALSE(modems.HasSpeaker("N"));
  EXPECT_EQ(1, modems.GetSpeakerVolumeLevels("N"));
}

TEST_F(ModemRegistryTest, InitStringFromTheSettingsInTheirOrder) {
  AddModem("0000", "M", "COM1");
  EXPECT_EQ("AT<cr>", modems.GetModemInitString("M"));
  Set("0000", "Blind_Off", "5");
  Set("0000", "Modulation_CCITT", "4");
  Set("0000", "FlowControl_Hard", "3");
  Set("0000", "Compression_On", "2");
  Set("0000", "ErrorControl_On", "1");
  Set("0000", "InactivityTimeout", "Y<#>");
  Set("0000", "CallSetupFailTimer", "X<#>");
  EXPECT_EQ("ATX60Y012345<cr>", modems.GetModemInitString("M"));
  Set("0000", "CallSetupFailTimer", "S7=<#><#>");
  Set("0000", "InactivityTimeout", "<#");
  EXPECT_EQ("ATS7=6060<#12345<cr>", modems.GetModemInitString("M"));
}

TEST_F(ModemRegistryTest, TextValuesAreReadInFullOrGiveTheDefault) {
  registry.SetValue("K", "Binary", kRegBinary, {'x', 0, 'y'});
  registry.SetValue("K", "Long", kRegString, std::vector<uint8_t>(5000, 'z'));
  EXPECT_EQ("x", modems.ReadRegString("K", "Binary", "d", kLocalMachine));
  EXPECT_EQ(std::string(5000, 'z'), modems.ReadRegString("K", "Long", "d", kLocalMachine));
  EXPECT_EQ("d", modems.ReadRegString("K", "Missing", "d", kLocalMachine));
  EXPECT_EQ("d", modems.ReadRegString("Nowhere", "Model", "d", kLocalMachine));
}

class ModemNodesTest : public ModemRegistryTest {
 protected:
  TreeNodeList Nodes() { return BuildModemNodes(CollectModems(modems)); }
};

// Numbered in instance order over a gap and a virtual modem; a modem without a port shows the defaults.
TEST_F(ModemNodesTest, SevenChildrenPerModemWithTheirExactTexts) {
  EXPECT_TRUE(Nodes().empty());
  AddModem("0000", "Acme 56K %s%n", "COM4");
  registry.SetValue(Key("0000"), "DCB", kRegBinary, Dcb(57600));
  registry.SetString(Key("0000"), "Reset", "ATZ");
  Set("0000", "SpeakerMode_Dial", "M1");
  Set("0000", "SpeakerMode_OFF", "M0");
  Set("0000", "SpeakerVolume_Med", "L2");
  AddModem("0001", "Provider IP Virtual Modem", "COM1");
  AddModem("0003", "Lonely", "");
  registry.SetString(Key("0003"), "Reset", "ATZ");
  Set("0003", "SpeakerMode_Dial", "M1");
  Set("0003", "SpeakerMode_OFF", "M0");
  const TreeNodeList nodes = Nodes();
  ASSERT_EQ(2u, nodes.size());
  const auto texts = [&nodes](size_t modem) {
    std::string joined = nodes[modem].text;
    for (const TreeNode& child : nodes[modem].children) joined += "|" + child.text;
    return joined;
  };
  EXPECT_EQ("Modem 1|Modem name :Acme 56K %s%n|Modem port : COM4|Modem speed :57600 baud|Modem Init string :AT<cr>|"
            "Modem Reset string :ATZ|Modem has Speaker : Yes|Modem Speaker volume levels :1",
            texts(0));
  EXPECT_EQ("Modem 2|Modem name :Lonely|Modem port : COM0|Modem speed :0 baud|Modem Init string :AT<cr>|"
            "Modem Reset string :|Modem has Speaker : No|Modem Speaker volume levels :0",
            texts(1));
}

}  // namespace
}  // namespace tfm
