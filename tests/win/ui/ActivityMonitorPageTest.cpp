#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <vector>

#include "ChartTestWindow.h"
#include "PageHost.h"
#include "ui/ActivityMonitorPageWin32.h"
#include "ui/ActivitySampler.h"

namespace tfm::test {
namespace {

class ActivityMonitorPageTest : public ::testing::Test {
 protected:
  const std::deque<double>& History(const CISDNActivityMonitor& page, size_t plot) const {
    return page.chart().model().plots()[plot].history;
  }

  PageHost m_host;
  std::atomic<int32_t> m_workersRunning{1};
};

// Each tick feeds plot 0 the next draw of the C library's generator, mapped to -5 ... +5; a page
// opened again starts with an empty chart and continues the sequence; the timer goes with the page.
TEST_F(ActivityMonitorPageTest, TicksContinueTheGeneratorAcrossOpenings) {
  std::srand(7);
  std::vector<double> expected;
  for (int i = 0; i < 6; ++i) expected.push_back(ActivitySample(std::rand()));
  std::srand(7);
  for (int opening = 0; opening < 2; ++opening) {
    SCOPED_TRACE(opening);
    CISDNActivityMonitor page(m_workersRunning);
    ASSERT_TRUE(page.CreateChild(m_host.hwnd()));
    for (int tick = 0; tick < 3; ++tick) SendMessageA(page.Hwnd(), WM_TIMER, 99, 0);  // any timer id
    const auto first = expected.begin() + 3 * opening;
    std::deque<double> samples{0.0};
    samples.insert(samples.end(), first, first + 3);
    EXPECT_EQ(samples, History(page, 0));
    EXPECT_EQ(std::deque<double>{0.0}, History(page, 1)) << "plots 1 and 2 take no samples";
    EXPECT_EQ(std::deque<double>{0.0}, History(page, 2));
    EXPECT_TRUE(page.timerRunning());
    DestroyWindow(page.Hwnd());
    EXPECT_FALSE(page.timerRunning());
  }
}

}  // namespace
}  // namespace tfm::test
