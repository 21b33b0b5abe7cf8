#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <vector>

#include "Accessibility.h"
#include "PageHost.h"
#include "WindowPump.h"
#include "common/CallActivity.h"
#include "res/resource.h"
#include "ui/ActivityMonitorPageWin32.h"

namespace tfm::test {
namespace {

// The value changes a screen reader hears of, from windows of this thread.
std::vector<HWND> g_valueChanges;
void CALLBACK HearValueChange(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
  g_valueChanges.push_back(window);
}

class ActivityMonitorPageTest : public ::testing::Test {
 protected:
  const std::deque<double>& History(const CISDNActivityMonitor& page, size_t plot) const {
    return page.chart().model().plots()[plot].history;
  }

  PageHost m_host;
  std::atomic<int32_t> m_workersRunning{1};
  CallActivity m_calls;
};

// Each tick feeds plot 0 the most calls in progress since the tick before: nothing while no call
// comes in, a call that came and went between two ticks all the same; calls before the page opened
// are not counted. The calls in progress now are the text above the chart and the chart's value for
// screen readers, who hear of a change at most once a second. Under high contrast the chart takes the
// system's colours. The timer goes with the page.
TEST_F(ActivityMonitorPageTest, TicksSampleTheCallsInProgress) {
  m_calls.Publish(2);
  m_calls.Publish(0);
  CISDNActivityMonitor page(m_workersRunning, m_calls);
  ASSERT_TRUE(page.CreateChild(m_host.hwnd()));
  const auto tick = [&] { SendMessageA(page.Hwnd(), WM_TIMER, 99, 0); };  // any timer id
  g_valueChanges.clear();
  const HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
                                             HearValueChange, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  tick();
  m_calls.Publish(1);
  m_calls.Publish(0);
  tick();
  tick();
  m_calls.Publish(1);
  m_calls.Publish(2);
  tick();
  EXPECT_EQ((std::deque<double>{0.0, 0.0, 1.0, 0.0, 2.0}), History(page, 0));
  EXPECT_EQ(std::deque<double>{0.0}, History(page, 1)) << "plots 1 and 2 take no samples";
  EXPECT_EQ(3.0, page.chart().model().plots()[0].upper) << "two calls stay below the top";
  char text[64] = "";
  GetDlgItemTextA(page.Hwnd(), IDC_CALLS_IN_PROGRESS, text, sizeof text);
  EXPECT_STREQ("Calls in progress: 2", text);
  EXPECT_EQ("2", ReadAccessible(page.chart().Hwnd()).value);
  m_calls.Publish(1);
  tick();  // within the second after the announcement of 2: not told yet
  PumpUntilIdle();
  UnhookWinEvent(hook);
  EXPECT_EQ(std::vector<HWND>{page.chart().Hwnd()}, g_valueChanges);
  {
    const HighContrastInProfile highContrast;
    SendMessageA(page.Hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), GetPixel(page.chart().backgroundLayer(), 1, 1));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), page.chart().model().plots()[0].colour);
  }
  EXPECT_TRUE(page.timerRunning());
  DestroyWindow(page.Hwnd());
  EXPECT_FALSE(page.timerRunning());
}

}  // namespace
}  // namespace tfm::test
