#include "devices/RegistryEx.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TraceCapture.h"
#include "devices/MemoryRegistry.h"

namespace tfm {
namespace {

class RegistryExTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(0u, registry.OpenHandleCount()) << "a key was left open";
  }

  MemoryRegistry registry;
  test::TraceCapture trace;
};

// 599 bytes and the terminator fit; a value of any type is read up to its first zero byte; a
// failed read leaves the caller's text alone.
TEST_F(RegistryExTest, StringValuesOfUpTo600BytesEndAtTheirFirstZeroByte) {
  registry.SetString("K", "Fits", std::string(599, 'a'));
  registry.SetString("K", "TooLong", std::string(600, 'b'));
  registry.SetValue("K", "Unterminated", kRegString, {'C', 'O', 'M', '4'});
  registry.SetValue("K", "Binary", kRegBinary, {'A', 'T', 0, 'Z', 'Z'});
  registry.SetValue("K", "Empty", kRegString, {});
  CRegistryEx key(registry, kLocalMachine);
  ASSERT_TRUE(key.Open(kLocalMachine, "K"));
  struct Row {
    const char* name;
    bool read;
    std::string text;
    int32_t result;
  };
  const Row rows[] = {{"Fits", true, std::string(599, 'a'), kRegSuccess}, {"TooLong", false, "kept", kRegMoreData},
                      {"Unterminated", true, "COM4", kRegSuccess},        {"Binary", true, "AT", kRegSuccess},
                      {"Empty", true, "", kRegSuccess},                   {"Missing", false, "kept", kRegNotFound}};
  for (const Row& row : rows) {
    std::string text = "kept";
    EXPECT_EQ(row.read, key.QueryStringValue(row.name, text)) << row.name;
    EXPECT_EQ(row.text, text) << row.name;
    EXPECT_EQ(row.result, key.LastResult()) << row.name;
  }
}

TEST_F(RegistryExTest, BinaryValueCopiesExactlyTheBytesReturned) {
  std::vector<uint8_t> dcb(28);
  for (size_t i = 0; i < dcb.size(); ++i) dcb[i] = static_cast<uint8_t>(i + 1);
  registry.SetValue("K", "DCB", kRegBinary, dcb);
  registry.SetValue("K", "Big", kRegBinary, std::vector<uint8_t>(CRegistryEx::kValueBufferLength + 1, 7));
  CRegistryEx key(registry, kLocalMachine);
  ASSERT_TRUE(key.Open(kLocalMachine, "K"));

  std::vector<uint8_t> destination(256, 0xEE);
  ASSERT_TRUE(key.QueryBinaryValue("DCB", destination.data(), 255));
  EXPECT_EQ(28u, key.LastSize());
  EXPECT_EQ(kRegBinary, key.LastType());
  EXPECT_TRUE(std::equal(dcb.begin(), dcb.end(), destination.begin()));
  EXPECT_EQ(0xEE, destination[28]);

  // One byte short of the value fails and leaves the destination alone.
  std::vector<uint8_t> small(27, 0xEE);
  EXPECT_FALSE(key.QueryBinaryValue("DCB", small.data(), 27));
  EXPECT_EQ(std::vector<uint8_t>(27, 0xEE), small);

  // A caller's size above the object's own buffer is held to that buffer.
  std::vector<uint8_t> large(2000, 0xEE);
  EXPECT_FALSE(key.QueryBinaryValue("Big", large.data(), 2000));
  EXPECT_EQ(kRegMoreData, key.LastResult());
}

TEST_F(RegistryExTest, OpenFailsOnMissingOrDeniedKeysAndNeverLeaks) {
  registry.AddKey("A\\B");
  registry.SetReadOnly("A\\ReadOnly");
  CRegistryEx key(registry, kLocalMachine);
  EXPECT_FALSE(key.Open(kLocalMachine, "A\\Nope"));
  EXPECT_EQ(kRegNotFound, key.LastResult());
  EXPECT_EQ("A\\Nope", key.KeyPath());
  EXPECT_FALSE(key.Open(kLocalMachine, "A\\ReadOnly", kKeyRead | 0x0002));  // KEY_SET_VALUE as well
  EXPECT_EQ(kRegAccessDenied, key.LastResult());
  EXPECT_TRUE(key.Open(kLocalMachine, "A\\ReadOnly"));  // read access by default
  EXPECT_TRUE(key.Open(kLocalMachine, "a\\b"));
  EXPECT_TRUE(key.Open(kLocalMachine, "A"));
  EXPECT_EQ(1u, registry.OpenHandleCount());
  std::string unused;
  key.Close();
  EXPECT_FALSE(key.QueryStringValue("x", unused));
  EXPECT_EQ(kRegInvalidHandle, key.LastResult());
}

TEST_F(RegistryExTest, EnumSubKeysStopsAtANameLongerThanItsBufferAndReportsIt) {
  registry.AddKey("P\\first");
  registry.AddKey("P\\" + std::string(767, 'n'));  // 767 bytes and the terminator fit
  registry.AddKey("P\\" + std::string(768, 'x'));
  registry.AddKey("P\\last");
  CRegistryEx root(registry, kLocalMachine);

  std::vector<std::string> list;
  EXPECT_FALSE(root.EnumSubKeys("P", list));
  EXPECT_EQ((std::vector<std::string>{"first", std::string(767, 'n')}), list);
  EXPECT_EQ(kRegMoreData, root.LastResult());
  const std::vector<std::string> lines = trace.Lines();
  ASSERT_EQ(2u, lines.size());
  EXPECT_EQ(0u, lines[0].rfind("234 RegEnumKeyEx\nRegistryEx ", 0)) << lines[0];
  EXPECT_EQ("More data is available.", lines[1]);
}

// One tree, searched for several wanted values: the start key before its subkeys, a parent before its
// children, depth first, case ignored, a locked child skipped.
TEST_F(RegistryExTest, FindKeyWithValueSearchesDepthFirst) {
  registry.SetString("Enum", "Driver", "Modem\\0000");
  registry.SetString("Enum\\A\\Deep", "Driver", "Modem\\0001");
  registry.SetString("Enum\\A\\Deep\\Deeper", "Driver", "Modem\\0001");
  registry.SetString("Enum\\A\\Deep\\Deeper", "Other", "Modem\\0002");
  registry.SetString("Enum\\B", "Driver", "Modem\\0001");
  registry.SetString("Enum\\B\\Child", "Driver", "Modem\\0000");
  registry.SetString("Enum\\C", "Driver", "modem\\0003");
  registry.SetString("Enum\\D", "Driver", "Modem\\0005");
  registry.SetLocked("Enum\\D");
  registry.SetString("Enum\\E\\Dev", "Driver", "Modem\\0005");
  const std::pair<const char*, const char*> rows[] = {
      {"Modem\\0000", "Enum"},         {"Modem\\0001", "Enum\\A\\Deep"}, {"MODEM\\0003", "Enum\\C"},
      {"Modem\\0005", "Enum\\E\\Dev"}, {"Modem\\0002", ""},
  };
  CRegistryEx root(registry, kLocalMachine);
  for (const auto& [wanted, found] : rows) EXPECT_EQ(found, root.FindKeyWithValue("Enum", "Driver", wanted)) << wanted;
  EXPECT_EQ("", root.FindKeyWithValue("Nowhere", "Driver", "Modem\\0001"));
}

}  // namespace
}  // namespace tfm
