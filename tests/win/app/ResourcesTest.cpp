// The resources linked into this test are the exe's own resource object.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "os/DeviceContext.h"
#include "res/resource.h"

namespace {

std::string ItemText(HMENU menu, UINT position) {
  char text[64] = "";
  GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return text;
}

TEST(Resources, TrayMenuHoldsTheCommandsInOrder) {
  const os::UniqueMenu owned(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)));
  HMENU menu = owned.get();
  ASSERT_TRUE(menu);
  HMENU tray = GetSubMenu(menu, 0);
  ASSERT_TRUE(tray);
  ASSERT_EQ(5, GetMenuItemCount(tray));
  EXPECT_EQ(40001u, GetMenuItemID(tray, 0));
  EXPECT_EQ("ISDN &Checker", ItemText(tray, 0));
  EXPECT_EQ(0u, GetMenuItemID(tray, 1));  // separator
  EXPECT_EQ(40002u, GetMenuItemID(tray, 2));
  EXPECT_EQ("&Call Monitor", ItemText(tray, 2));
  EXPECT_EQ(32775u, GetMenuItemID(tray, 4));
  EXPECT_EQ("&Exit", ItemText(tray, 4));
  HMENU second = GetSubMenu(menu, 1);
  ASSERT_TRUE(second);
  EXPECT_EQ(40002u, GetMenuItemID(second, 0));
  EXPECT_EQ("Call &Monitor", ItemText(second, 0));
}

TEST(Resources, StatusIconsDifferFromEachOther) {
  auto pixels = [](UINT id) {
    const os::UniqueIcon icon(
        static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 32, 32, 0)));
    EXPECT_TRUE(icon) << id;
    const os::OffscreenLayer layer(os::WindowDc(nullptr).get(), 32, 32);
    HDC dc = layer.dc();
    RECT all{0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(dc, 0, 0, icon.get(), 32, 32, 0, nullptr, DI_NORMAL);
    std::string colours;
    for (int y = 0; y < 32; y += 4)
      for (int x = 0; x < 32; x += 4) colours += std::to_string(GetPixel(dc, x, y)) + ",";
    return colours;
  };
  const std::string app = pixels(IDR_MAINFRAME), running = pixels(IDI_SERVICE_RUNNING),
                    stopped = pixels(IDI_SERVICE_STOPPED);
  EXPECT_NE(app, running);
  EXPECT_NE(running, stopped);
  EXPECT_NE(app, stopped);
}

}  // namespace
