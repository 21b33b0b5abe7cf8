#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "ProviderFolder.h"
#include "capi/CapiInstalled.h"
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
