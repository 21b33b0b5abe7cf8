#include "app/TaskbarNotifierWin32.h"

#include <gtest/gtest.h>

#include "res/resource.h"

namespace tfm {
namespace {

class OwnerWindow : public fw::Window {};

class TaskbarNotifierTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSEXA windowClass{};
    windowClass.lpszClassName = "NotifierTestOwner";
    ASSERT_TRUE(fw::Window::RegisterClassOnce(windowClass));
    ASSERT_TRUE(m_owner.CreateEx(0, "NotifierTestOwner", "", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr));
  }
  OwnerWindow m_owner;
};

TEST_F(TaskbarNotifierTest, PreparedAsAtStartUpStaysHiddenAndOwned) {
  CTaskbarNotifier popup;
  ASSERT_TRUE(popup.CreatePopup(&m_owner));
  ASSERT_TRUE(popup.LoadSkin(IDB_POPUP_SKIN));
  ASSERT_TRUE(popup.SetFonts("Arial", 100, 0, kFontUnderline));
  popup.SetColours(RGB(20, 0, 255), RGB(20, 0, 255));
  popup.SetTextArea(10, 40, popup.SkinWidth() - 10, popup.SkinHeight() - 25);

  EXPECT_EQ(m_owner.Hwnd(), GetWindow(popup.Hwnd(), GW_OWNER));
  EXPECT_FALSE(IsWindowVisible(popup.Hwnd()));
  EXPECT_EQ(WS_POPUP, static_cast<DWORD>(GetWindowLongA(popup.Hwnd(), GWL_STYLE)) & WS_POPUP);
  EXPECT_EQ(48, popup.SkinWidth());
  EXPECT_EQ(48, popup.SkinHeight());
  const RECT area = popup.TextArea();
  EXPECT_EQ(10, area.left);
  EXPECT_EQ(40, area.top);
  EXPECT_EQ(38, area.right);
  EXPECT_EQ(23, area.bottom);
  EXPECT_EQ(RGB(20, 0, 255), popup.NormalColour());
  EXPECT_TRUE(popup.HoverCursor());

  LOGFONTA normal{}, hover{};
  GetObjectA(popup.NormalFont(), sizeof normal, &normal);
  GetObjectA(popup.HoverFont(), sizeof hover, &hover);
  EXPECT_STREQ("Arial", normal.lfFaceName);
  EXPECT_EQ(FW_NORMAL, normal.lfWeight);
  EXPECT_FALSE(normal.lfUnderline);
  EXPECT_TRUE(hover.lfUnderline);
  EXPECT_EQ(normal.lfHeight, hover.lfHeight);
}

TEST_F(TaskbarNotifierTest, MissingSkinLeavesSizeZero) {
  CTaskbarNotifier popup;
  ASSERT_TRUE(popup.CreatePopup(&m_owner));
  EXPECT_FALSE(popup.LoadSkin(9999));
  popup.SetTextArea(10, 40, popup.SkinWidth() - 10, popup.SkinHeight() - 25);
  EXPECT_EQ(-10, popup.TextArea().right);
  EXPECT_EQ(-25, popup.TextArea().bottom);
}

TEST_F(TaskbarNotifierTest, StyleMaskSelectsBoldAndItalic) {
  CTaskbarNotifier popup;
  ASSERT_TRUE(popup.SetFonts("Arial", 100, kFontBold | kFontItalic, kFontBold));
  LOGFONTA normal{}, hover{};
  GetObjectA(popup.NormalFont(), sizeof normal, &normal);
  GetObjectA(popup.HoverFont(), sizeof hover, &hover);
  EXPECT_EQ(FW_BOLD, normal.lfWeight);
  EXPECT_TRUE(normal.lfItalic);
  EXPECT_EQ(FW_BOLD, hover.lfWeight);
  EXPECT_FALSE(hover.lfItalic);
}

}  // namespace
}  // namespace tfm
