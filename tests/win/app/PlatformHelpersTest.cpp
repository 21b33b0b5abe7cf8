#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ProviderFolder.h"
#include "capi/CapiLibraryWin32.h"
#include "os/Process.h"

namespace tfm {
namespace {

TEST(SystemErrorText, KnownCodeIsTrimmedAndUnknownIsEmpty) {
  const std::string text = os::SystemErrorText(ERROR_FILE_NOT_FOUND);
  ASSERT_FALSE(text.empty());
  EXPECT_NE(' ', text.front());
  EXPECT_EQ(std::string::npos, std::string(" \r\n\t").find(text.back()));
  EXPECT_EQ("", os::SystemErrorText(0x2000FFFF));
}

TEST(LoadCapiLibrary, CompleteProviderResolvesAllNine) {
  const test::ProviderSearchPath provider("capi-complete");
  ASSERT_TRUE(provider.Set());
  CapiEntryPoints table;
  ASSERT_TRUE(LoadCapiLibrary(table));
  EXPECT_TRUE(table.library);
  EXPECT_TRUE(table.CAPI_GET_SERIAL_NUMBER && table.CAPI_GET_MESSAGE && table.CAPI_GET_MANUFACTURER);
  EXPECT_TRUE(IsCapiInstalled(table));
  CapiDword count[16] = {};
  EXPECT_EQ(0u, table.CAPI_GET_PROFILE(count, 0));
  EXPECT_EQ(1u, count[0] & 0xFFFF);
  FreeLibrary(static_cast<HMODULE>(table.library));
}

TEST(LoadCapiLibrary, EightEntryPointsFailAndUnload) {
  const test::ProviderSearchPath provider("capi-eight");
  ASSERT_TRUE(provider.Set());
  CapiEntryPoints table;
  EXPECT_FALSE(LoadCapiLibrary(table));
  EXPECT_EQ(nullptr, table.library);
  EXPECT_EQ(nullptr, table.CAPI_GET_VERSION);
  EXPECT_EQ(nullptr, GetModuleHandleA("capi2032.dll"));
}

}  // namespace
}  // namespace tfm
