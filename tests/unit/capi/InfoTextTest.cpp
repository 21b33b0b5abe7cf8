#include "capi/InfoText.h"

#include <gtest/gtest.h>

namespace tfm {
namespace {

// Texts keep their blanks; both halves of a duplicated text, and values next to rows, are checked.
TEST(InfoTextTest, TextsKeepTheirBlanksAndUnknownValuesGiveUpperCaseHex) {
  const std::pair<uint32_t, const char*> rows[] = {
      {0x0000, "normal clearing"},
      {0x0003, " alert already sent by another application"},
      {0x1007, " the message could not be accepted because of an internal busy condition"},
      {0x1107, " the message could not be accepted because of an internal busy condition"},
      {0x3490, "Disconnect from the network "},
      {0x34CF, "  service/option not avail.    "},
      {0x3510, "handshake error"},
      {0x00FF, "Unknown Error Nr.: 0xFF"},
      {0x13301, "Unknown Error Nr.: 0x13301"},
      {0xFFFFFFFF, "Unknown Error Nr.: 0xFFFFFFFF"},
  };
  for (const auto& [value, text] : rows) EXPECT_EQ(text, GetInfoText(value)) << std::hex << value;
}

// Every row must be reachable by the lookup: a row out of order would silently fall back to the default.
TEST(InfoTextTest, Exactly128ValuesHaveATextOfTheirOwn) {
  int own = 0;
  for (uint32_t v = 0; v <= 0xFFFF; ++v) own += GetInfoText(v).rfind("Unknown Error Nr.: ", 0) != 0;
  EXPECT_EQ(128, own);
}

}  // namespace
}  // namespace tfm
