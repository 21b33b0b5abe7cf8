#pragma once
// A visible top-level window holding a strip chart set up as the activity page sets it up, and the
// message pumping the tests need to let its timers fire.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "WindowPump.h"
#include "ui/StripChartWin32.h"

namespace tfm::test {

inline constexpr COLORREF kBackground = RGB(0, 0, 64);
inline constexpr COLORREF kGrid = RGB(192, 192, 255);
inline constexpr COLORREF kTrace = RGB(255, 255, 255);

class ChartTestWindow {
 public:
  ChartTestWindow(int width, int height, int32_t workersRunning);
  ~ChartTestWindow();

  CStripChart& chart() { return *m_chart; }
  std::atomic<int32_t>& workersRunning() { return m_workersRunning; }
  ChartRect client() const;
  // Resizes the chart window (outer size) and lets it handle the change.
  void ResizeChart(int width, int height);
  // Waits for a pending history replay, if any.
  bool WaitForReplay();

 private:
  std::atomic<int32_t> m_workersRunning;
  HWND m_parent = nullptr;
  std::unique_ptr<CStripChart> m_chart;
};

}  // namespace tfm::test
