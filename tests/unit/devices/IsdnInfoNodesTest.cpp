#include "devices/IsdnInfoNodes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace tfm {
namespace {

// A profile record laid out byte by byte, little-endian, as the standard defines it.
CapiProfile Profile(uint16_t bChannels, uint32_t global, uint32_t b1, uint32_t b2, uint32_t b3) {
  CapiProfile p{};
  p[2] = static_cast<uint8_t>(bChannels);
  p[3] = static_cast<uint8_t>(bChannels >> 8);
  const uint32_t masks[] = {global, b1, b2, b3};
  for (int m = 0; m < 4; ++m) {
    for (int i = 0; i < 4; ++i) p[4 + 4 * m + i] = static_cast<uint8_t>(masks[m] >> (8 * i));
  }
  return p;
}

IsdnInfo Installed(uint32_t count, std::vector<ControllerProfile> controllers) {
  return {true, 0, {2, 0, 3, 7}, count, std::move(controllers)};
}

std::vector<std::string> Texts(const TreeNode& node) {
  std::vector<std::string> texts;
  for (const TreeNode& child : node.children) texts.push_back(child.text);
  return texts;
}
std::vector<std::string> Texts(const TreeNodeList& nodes) { return Texts(TreeNode{"", nodes}); }

TEST(IsdnInfoNodes, DriverStateAndControllersDecideTheTopNodes) {
  IsdnInfoTree tree = BuildIsdnInfoNodes({false, 0, {}, 0, {}});
  EXPECT_TRUE(tree.nodes.empty());
  EXPECT_FALSE(tree.driverGone);
  tree = BuildIsdnInfoNodes({true, 0x1009, {}, 1, {{1, Profile(2, 1, 1, 1, 1)}}});
  EXPECT_TRUE(tree.nodes.empty());
  EXPECT_TRUE(tree.driverGone);  // asks for the message instead

  const TreeNodeList driverOnly{{"CAPI Info", {{"ISDN Controllers : 0", {}}, {"Version : 2.0 (3.7)", {}}}}};
  EXPECT_EQ(driverOnly, BuildIsdnInfoNodes(Installed(0, {})).nodes);

  // A failing controller is left out and the others keep their numbers.
  const CapiProfile p = Profile(30, 0, 0, 0, 0);
  tree = BuildIsdnInfoNodes(Installed(3, {{1, p}, {2, std::nullopt}, {3, p}}));
  EXPECT_EQ((std::vector<std::string>{"CAPI Info", "Controller 1", "Controller 3"}), Texts(tree.nodes));
  EXPECT_EQ("ISDN Controllers : 3", tree.nodes[0].children[0].text);
}

TEST(IsdnInfoNodes, AllZeroMasksLeaveOnlyTheChannelCount) {
  const IsdnInfoTree tree = BuildIsdnInfoNodes(Installed(1, {{1, Profile(30, 0, 0, 0, 0)}}));
  const TreeNodeList expected{
      {"Global Options", {{"Amount of B Channels: 30", {}}}},
      {"B1 Protocol Options", {}},
      {"B2 Protocol Options", {}},
      {"B3 Protocol Options", {}},
  };
  ASSERT_EQ(2u, tree.nodes.size());
  EXPECT_EQ(expected, tree.nodes[1].children);
}

TEST(IsdnInfoNodes, OptionsFollowTheDisplayOrderNotTheBitOrder) {
  const IsdnInfoTree tree =
      BuildIsdnInfoNodes(Installed(1, {{1, Profile(2, 0x0C | 0x80, 0x201, 0x1000, 0x82 | 0x40 | 0x100)}}));
  ASSERT_EQ(2u, tree.nodes.size());
  const TreeNodeList& options = tree.nodes[1].children;  // global, B1, B2, B3
  ASSERT_EQ(4u, options.size());
  EXPECT_EQ((std::vector<std::string>{"Amount of B Channels: 2", "DTMF supported", "Handset"}), Texts(options[0]));
  EXPECT_EQ((std::vector<std::string>{"64 KBit/s with HDLC framing", "Modem synchronous operation with HDLC framing"}),
            Texts(options[1]));
  EXPECT_EQ(std::vector<std::string>{"LAPD accordance with Q.921 including free SAPI selectioin"}, Texts(options[2]));
  EXPECT_EQ((std::vector<std::string>{"Modem", "T.90 NL",
                                      "T.90NL with compatibility to T.70NL in accordance to T.90 Appendix II"}),
            Texts(options[3]));
}

// A scripted driver: what each entry point answers and which calls were made.
struct FakeDriver {
  uint32_t installed = 0;
  uint32_t profileResult[4] = {};
  uint16_t count = 3;
  std::vector<std::string> calls;
};
FakeDriver* g_driver = nullptr;

CapiDword CAPI_CALL FakeInstalled() {
  g_driver->calls.push_back("installed");
  return g_driver->installed;
}
CapiDword CAPI_CALL FakeVersion(CapiDword* a, CapiDword* b, CapiDword* c, CapiDword* d) {
  g_driver->calls.push_back("version");
  *a = 2, *b = 0, *c = 1, *d = 15;
  return 0;
}
CapiDword CAPI_CALL FakeProfile(void* buffer, CapiDword controller) {
  g_driver->calls.push_back("profile " + std::to_string(controller));
  auto* bytes = static_cast<uint8_t*>(buffer);
  std::memset(bytes, 0, kCapiProfileLength);
  bytes[0] = static_cast<uint8_t>(g_driver->count);
  bytes[1] = static_cast<uint8_t>(g_driver->count >> 8);
  bytes[2] = static_cast<uint8_t>(controller * 2);
  return controller < 4 ? g_driver->profileResult[controller] : 0x2002;
}

class GatherIsdnInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_driver = &driver;
    capi.CAPI_INSTALLED = FakeInstalled;
    capi.CAPI_GET_VERSION = FakeVersion;
    capi.CAPI_GET_PROFILE = FakeProfile;
  }
  IsdnInfo Gather(bool available) {
    return GatherIsdnInfo(available, capi, [](uint32_t c, uint8_t* p) { return FakeProfile(p, c); });
  }
  FakeDriver driver;
  CapiEntryPoints capi;
};

TEST_F(GatherIsdnInfoTest, AsksInThePagesOrderAndKeepsFailures) {
  driver.profileResult[2] = 0x2002;
  const IsdnInfo info = Gather(true);
  EXPECT_EQ((std::vector<std::string>{"installed", "version", "profile 0", "profile 1", "profile 2", "profile 3"}),
            driver.calls);
  EXPECT_EQ(3u, info.controllerCount);
  EXPECT_EQ(15u, info.version.manufacturerMinor);
  ASSERT_EQ(3u, info.controllers.size());
  EXPECT_TRUE(info.controllers[0].profile.has_value());
  EXPECT_FALSE(info.controllers[1].profile.has_value());
  ASSERT_TRUE(info.controllers[2].profile.has_value());
  EXPECT_EQ(6, (*info.controllers[2].profile)[2]);
}

TEST_F(GatherIsdnInfoTest, UnavailableGoneOrUncountableDriverIsAskedNoFurther) {
  Gather(false);
  EXPECT_TRUE(driver.calls.empty());
  driver.installed = 0x1009;
  EXPECT_TRUE(BuildIsdnInfoNodes(Gather(true)).driverGone);
  EXPECT_EQ(std::vector<std::string>{"installed"}, driver.calls);

  driver.installed = 0;
  driver.profileResult[0] = 0x2002;  // controller 0 tells the count: no count, no controllers
  const IsdnInfoTree tree = BuildIsdnInfoNodes(Gather(true));
  EXPECT_EQ((std::vector<std::string>{"ISDN Controllers : 0", "Version : 2.0 (1.15)"}), Texts(tree.nodes.at(0)));
  EXPECT_EQ(1u, tree.nodes.size());
}

}  // namespace
}  // namespace tfm
