#pragma once
// CISDNActivityMonitor: the "Activity Monitor" page of the Devices Monitor dialog. A strip chart
// covers the page's etched frame, follows the page's size, and takes one sample per second for as
// long as the page exists: the most calls that the ISDN monitor had in progress during that second.
// Plot 0 shows the samples; plots 1 and 2 get none and draw nothing. A text above the chart says how
// many calls are in progress now; the chart is named "Calls in progress" for screen readers and gives
// that number as its value, announcing a change at most once a second. Under a high-contrast theme
// the chart is drawn in the system's colours.
#include <windows.h>

#include <atomic>
#include <cstdint>

#include "common/CallActivity.h"
#include "framework/ResizableDialog.h"
#include "ui/AnnouncementLimit.h"
#include "ui/StripChartWin32.h"

namespace tfm {

class CISDNActivityMonitor : public fw::ResizableDialog {
 public:
  static constexpr UINT_PTR kSampleTimerId = 1;
  static constexpr UINT kSamplePeriodMs = 1000;

  // workersRunning: the chart replays its history after a redraw only while it is set. calls: what
  // the ISDN monitor publishes. theme: the colours of the dialog that holds the page; null for the
  // system's.
  CISDNActivityMonitor(const std::atomic<int32_t>& workersRunning, CallActivity& calls,
                       const fw::CColorizedTheme* theme = nullptr);

  const CStripChart& chart() const { return m_chart; }
  CStripChart& chart() { return m_chart; }
  bool timerRunning() const { return m_timerRunning != 0; }

 protected:
  bool OnInitDialog() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void CreateChart();
  // The chart's own colours, or the system's under a high-contrast theme.
  void ApplyChartColours();
  void OnTimer(UINT_PTR);
  // The text and the chart's value follow the calls in progress now.
  void ShowCallsInProgress();
  // A change since the last announcement is told to screen readers, once a second at most: a change
  // that waits is told on a later tick.
  void AnnounceCallsInProgress();
  void OnDestroy();

  static const fw::MessageEntry<CISDNActivityMonitor> kMessageMap[];
  int32_t m_timerRunning = 0;
  CStripChart m_chart;
  CallActivity& m_calls;
  int32_t m_shownCalls = -1;
  AnnouncementLimit m_announcements{0, 0};
};

}  // namespace tfm
