#include "capi/InfoText.h"

#include <gtest/gtest.h>

namespace tfm {
namespace {

TEST(InfoTextTest, TextsKeepTheirBlanksAndWording) {
  struct Case {
    uint32_t value;
    const char* text;
  };
  const Case cases[] = {
      {0x0000, "normal clearing"},
      {0x0003, " alert already sent by another application"},
      {0x1104, " queue is empty"},
      {0x1007, " the message could not be accepted because of an internal busy condition"},
      {0x1107, " the message could not be accepted because of an internal busy condition"},
      {0x100B, " Controller does only support external equipment"},
      {0x110B, " Controller supports only external equipment"},
      {0x2007, " illegal message parameter coding"},
      {0x3004, " B1 protocol parameter not supported "},
      {0x3490, "Disconnect from the network "},
      {0x3483, "No valid Fax Number"},
      {0x3491, "  user busy  BUSY "},
      {0x34BF, "  service/option not avail.  "},
      {0x34CF, "  service/option not avail.    "},
      {0x34FF, "  interworking, unspecified "},
      {0x3510, "handshake error"},
  };
  for (const Case& c : cases) EXPECT_EQ(c.text, GetInfoText(c.value)) << std::hex << c.value;
}

TEST(InfoTextTest, ValuesWithoutTextGiveTheDefaultWithUpperCaseHex) {
  EXPECT_EQ("Unknown Error Nr.: 0x3305", GetInfoText(0x3305));
  EXPECT_EQ("Unknown Error Nr.: 0xFF", GetInfoText(0x00FF));
  EXPECT_EQ("Unknown Error Nr.: 0x3494", GetInfoText(0x3494));
  EXPECT_EQ("Unknown Error Nr.: 0x3497", GetInfoText(0x3497));
  EXPECT_EQ("Unknown Error Nr.: 0x3400", GetInfoText(0x3400));
  EXPECT_EQ("Unknown Error Nr.: 0x13301", GetInfoText(0x13301));
  EXPECT_EQ("Unknown Error Nr.: 0xFFFFFFFF", GetInfoText(0xFFFFFFFF));
}

// Every row must be reachable by the lookup: a row out of order would silently fall back to the default.
TEST(InfoTextTest, Exactly128ValuesHaveATextOfTheirOwn) {
  int own = 0;
  for (uint32_t v = 0; v <= 0xFFFF; ++v) own += GetInfoText(v).rfind("Unknown Error Nr.: ", 0) != 0;
  EXPECT_EQ(128, own);
}

}  // namespace
}  // namespace tfm
