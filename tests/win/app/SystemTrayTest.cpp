// The tray icon against Wine's real notification area, in process.
#include "app/SystemTrayWin32.h"

#include <shellapi.h>
#include <gtest/gtest.h>


#include "res/resource.h"

namespace tfm {
namespace {

constexpr UINT kIconId = IDR_MAINFRAME;
const OsVersionInfo kCurrentWindows{true, 2, 10, 0, 19045};

bool Shell(DWORD request, HWND owner) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = kIconId;
  return Shell_NotifyIconA(request, &data) != FALSE;
}

bool ShellKnows(HWND owner) { return Shell(NIM_MODIFY, owner); }

class SystemTrayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(m_owner);
  }
  void TearDown() override { DestroyWindow(m_owner); }
  HWND TrayWindow() { return FindWindowW(kTrayWindowClass, nullptr); }
  HWND m_owner = nullptr;
};

TEST_F(SystemTrayTest, InstallShowsIconAndDestructionRemovesIt) {
  {
    CSystemTray tray(m_owner, kCurrentWindows);
    ASSERT_TRUE(tray.Install(kTrayCallbackMessage, "Telvaro Fax Server Monitor",
                             LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), kIconId));
    EXPECT_TRUE(ShellKnows(m_owner));
    EXPECT_TRUE(tray.ChangeTip("incoming call from 815 to 4711"));
    EXPECT_TRUE(tray.ShowBalloon("Telvaro Fax Server Monitor", "Incoming call from 815 to 4711"));
    HWND own = TrayWindow();
    ASSERT_TRUE(own);
    EXPECT_FALSE(IsWindowVisible(own));
    EXPECT_EQ(nullptr, GetWindow(own, GW_OWNER));  // top-level, so it gets shell broadcasts
  }
  EXPECT_FALSE(ShellKnows(m_owner));
  EXPECT_EQ(nullptr, TrayWindow());
}

// The shell refuses the first add (here: an icon under the same owner and id is already there, as
// when the taskbar is not ready at logon): the tray does not give up but adds it on its retry timer.
TEST_F(SystemTrayTest, RefusedFirstAddIsRetriedUntilTheShellTakesIt) {
  ASSERT_TRUE(Shell(NIM_ADD, m_owner));
  CSystemTray tray(m_owner, kCurrentWindows);
  EXPECT_FALSE(tray.Install(kTrayCallbackMessage, "tip", LoadIconA(nullptr, MAKEINTRESOURCEA(32512)), kIconId));
  EXPECT_TRUE(tray.AwaitsShell());
  ASSERT_TRUE(Shell(NIM_DELETE, m_owner));
  const DWORD start = GetTickCount();
  MSG msg;
  while (tray.AwaitsShell() && GetTickCount() - start < 10000) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(50);
  }
  EXPECT_FALSE(tray.AwaitsShell());
  EXPECT_TRUE(ShellKnows(m_owner));
}

}  // namespace
}  // namespace tfm
