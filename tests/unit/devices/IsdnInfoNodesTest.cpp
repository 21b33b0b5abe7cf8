#include "devices/IsdnInfoNodes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeCapi.h"

namespace tfm {
namespace {

// A profile record laid out byte by byte, little-endian, as the standard defines it.
CapiProfile Profile(uint16_t bChannels, uint32_t global, uint32_t b1, uint32_t b2, uint32_t b3) {
  CapiProfile p{};
  p[2] = static_cast<uint8_t>(bChannels);
  p[3] = static_cast<uint8_t>(bChannels >> 8);
  const uint32_t masks[] = {global, b1, b2, b3};
  for (size_t m = 0; m < 4; ++m) {
    for (size_t i = 0; i < 4; ++i) p[4 + 4 * m + i] = static_cast<uint8_t>(masks[m] >> (8 * i));
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

  // A failing controller is left out and the others keep their numbers; all-zero masks leave only the
  // channel count.
  const CapiProfile p = Profile(30, 0, 0, 0, 0);
  tree = BuildIsdnInfoNodes(Installed(3, {{1, p}, {2, std::nullopt}, {3, p}}));
  EXPECT_EQ((std::vector<std::string>{"CAPI Info", "Controller 1", "Controller 3"}), Texts(tree.nodes));
  EXPECT_EQ("ISDN Controllers : 3", tree.nodes[0].children[0].text);
  const TreeNodeList zeroMasks{{"Global Options", {{"Amount of B Channels: 30", {}}}},
                               {"B1 Protocol Options", {}},
                               {"B2 Protocol Options", {}},
                               {"B3 Protocol Options", {}}};
  EXPECT_EQ(zeroMasks, tree.nodes[2].children);
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

class GatherIsdnInfoTest : public ::testing::Test {
 protected:
  IsdnInfo Gather(bool available) {
    const CapiEntryPoints& table = capi.entryPoints();
    return GatherIsdnInfo(available, table, [&table](uint32_t c, uint8_t* p) { return table.CAPI_GET_PROFILE(p, c); });
  }
  test::FakeCapi capi;
};

TEST_F(GatherIsdnInfoTest, AsksEveryControllerInOrderAndKeepsFailures) {
  capi.controllers = 3;
  capi.version[3] = 15;
  capi.failingProfiles = {2};
  const IsdnInfo info = Gather(true);
  EXPECT_EQ((std::vector<CapiDword>{0, 1, 2, 3}), capi.profileQueries);
  EXPECT_EQ(3u, info.controllerCount);
  EXPECT_EQ(15u, info.version.manufacturerMinor);
  ASSERT_EQ(3u, info.controllers.size());
  EXPECT_TRUE(info.controllers[0].profile.has_value());
  EXPECT_FALSE(info.controllers[1].profile.has_value());
  ASSERT_TRUE(info.controllers[2].profile.has_value());
  EXPECT_EQ(3, (*info.controllers[2].profile)[2]);
}

TEST_F(GatherIsdnInfoTest, UnavailableGoneOrUncountableDriverIsAskedNoFurther) {
  Gather(false);
  capi.installed = 0x1009;
  EXPECT_TRUE(BuildIsdnInfoNodes(Gather(true)).driverGone);
  EXPECT_TRUE(capi.profileQueries.empty());

  capi.installed = 0;
  capi.failingProfiles = {0};  // controller 0 tells the count: no count, no controllers
  const IsdnInfoTree tree = BuildIsdnInfoNodes(Gather(true));
  EXPECT_EQ((std::vector<std::string>{"ISDN Controllers : 0", "Version : 2.0 (3.7)"}), Texts(tree.nodes.at(0)));
  EXPECT_EQ(1u, tree.nodes.size());
}

}  // namespace
}  // namespace tfm
