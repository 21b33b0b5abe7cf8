#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ProviderFolder.h"
#include "capi/CapiInstalled.h"
#include "capi/CapiLibraryWin32.h"
#include "os/Process.h"
#include "os/Text.h"

namespace tfm {
namespace {

TEST(SystemErrorText, KnownCodeIsTrimmedAndUnknownIsEmpty) {
  const std::string text = os::SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(' ', text.front());
  EXPECT_EQ(std::string::npos, std::string(" \r\n\t").find(text.back()));
  EXPECT_EQ("", os::SystemErrorText(0x2000FFFF));
}

// Every script survives the trip through UTF-16 and back; what is not valid on one side becomes
// U+FFFD on the other, never a crash or a dropped neighbour.
TEST(TextBoundary, Utf8AndUtf16ConvertBothWays) {
  const struct {
    std::string utf8;
    std::wstring wide;
  } cases[] = {
      {"", L""},
      {"ISDN 4711", L"ISDN 4711"},
      {"\xD0\x97\xD0\xB2\xD0\xBE\xD0\xBD\xD0\xBA\xD0\xB8", L"\u0417\u0432\u043E\u043D\u043A\u0438"},  // Звонки
      {"\xE9\x80\x9A\xE8\xA9\xB1", L"\u901A\u8A71"},                                                     // 通話
      {"a\xF0\x9F\x93\x9E" "b", L"a\xD83D\xDCDE" L"b"},                                                    // a surrogate pair
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.wide, os::Wide(c.utf8)) << c.utf8;
    EXPECT_EQ(c.utf8, os::Utf8(c.wide)) << c.utf8;
  }
  EXPECT_EQ(L"a\xFFFD" L"b", os::Wide("a\xFF" "b"));
  EXPECT_EQ("a\xEF\xBF\xBD" "b", os::Utf8(std::wstring(L"a\xD83D" L"b")));
  EXPECT_EQ("", os::Utf8(static_cast<const wchar_t*>(nullptr)));
}

// Text of an 8-bit program in its code page keeps its letters; a double-byte character whose trail
// byte the text does not hold is dropped whole.
TEST(TextBoundary, CodePageBytesBecomeUtf8WithoutCuttingACharacter) {
  const struct {
    unsigned codePage;
    std::string bytes;
    std::string utf8;
  } cases[] = {
      {1251, "\xCF\xF0\xE8\xE2\xE5\xF2", "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82"},  // Привет
      {932, "\x93\xFA\x96\x7B", "\xE6\x97\xA5\xE6\x9C\xAC"},                                           // 日本
      {932, "\x93\xFA\x96", "\xE6\x97\xA5"},
      {932, "ab\xB1", "ab\xEF\xBD\xB1"},  // a single-byte katakana at the end stays
      {932, "\x96", ""},
      {1252, "", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.utf8, os::Utf8FromCodePage(c.bytes, c.codePage)) << c.codePage << " " << c.bytes;
}

TEST(CapiLibrary, CompleteProviderResolvesAllNineAndIsUnloadedWithItsOwner) {
  const test::ProviderSearchPath provider("capi-complete");
  ASSERT_TRUE(provider.Set());
  {
    CapiLibrary library;
    ASSERT_TRUE(library.Load());
    EXPECT_TRUE(library.IsLoaded());
    const CapiEntryPoints& table = library.EntryPoints();
    EXPECT_TRUE(table.CAPI_GET_SERIAL_NUMBER && table.CAPI_GET_MESSAGE && table.CAPI_GET_MANUFACTURER);
    EXPECT_TRUE(IsCapiInstalled(table));
    CapiDword count[16] = {};
    EXPECT_EQ(0u, table.CAPI_GET_PROFILE(count, 0));
    EXPECT_EQ(1u, count[0] & 0xFFFF);
  }
  EXPECT_EQ(nullptr, GetModuleHandleA("capi2032.dll"));
}

}  // namespace
}  // namespace tfm
