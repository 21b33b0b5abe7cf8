#include "ui/ActivityMonitorPageWin32.h"

#include "res/resource.h"

namespace tfm {
namespace {

constexpr size_t kPlotCount = 3;
// The monitor follows at most two calls at once; the top stays clear of the second.
constexpr double kLower = 0.0;
constexpr double kUpper = 3.0;
constexpr COLORREF kBackground = RGB(0, 0, 64);
constexpr COLORREF kGrid = RGB(192, 192, 255);
constexpr COLORREF kSampleTrace = RGB(255, 255, 255);

}  // namespace

CISDNActivityMonitor::CISDNActivityMonitor(const std::atomic<int32_t>& workersRunning, CallActivity& calls,
                                           const fw::CColorizedTheme* theme)
    : fw::ResizableDialog(IDD_ACTIVITY_MONITOR, theme), m_chart(kPlotCount, workersRunning), m_calls(calls) {}

// The platform's own handling of both messages follows.
const fw::MessageEntry<CISDNActivityMonitor> CISDNActivityMonitor::kMessageMap[] = {
    fw::OnTimer<&CISDNActivityMonitor::OnTimer>(fw::Platform::After),
    fw::OnMessage<&CISDNActivityMonitor::OnDestroy>(WM_DESTROY, fw::Platform::After),
};

bool CISDNActivityMonitor::OnInitDialog() {
  fw::ResizableDialog::OnInitDialog();
  ShowSizeGrip(false);
  CreateChart();
  EnableWindow(Hwnd(), TRUE);
  m_calls.TakePeak();  // calls before the page opened are not its first sample
  m_timerRunning = 1;
  SetTimer(Hwnd(), kSampleTimerId, kSamplePeriodMs, nullptr);
  return true;
}

void CISDNActivityMonitor::CreateChart() {
  RECT frame{};
  const HWND placeholder = Item(IDC_CHART_FRAME);
  GetWindowRect(placeholder, &frame);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&frame), 2);
  if (!m_chart.Create(WS_CHILD | WS_VISIBLE, frame, Hwnd(), 0)) return;
  // Children are created below their older siblings; the chart goes on top to cover the frame.
  SetWindowPos(m_chart.Hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  AddAnchor(placeholder, fw::kTopLeft, fw::kBottomRight);
  AddAnchor(m_chart.Hwnd(), fw::kTopLeft, fw::kBottomRight);
  for (size_t plot = 0; plot < kPlotCount; ++plot) m_chart.SetRange(kLower, kUpper, plot);
  m_chart.SetYUnits("Calls", "", "");
  m_chart.SetXUnits("1 sec");
  m_chart.SetBackgroundColor(kBackground);
  m_chart.SetGridColor(kGrid);
  m_chart.SetPlotColor(kSampleTrace, 0);
  m_chart.RedrawBackground(true);
}

bool CISDNActivityMonitor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CISDNActivityMonitor>(kMessageMap, message, wParam, lParam, result) ||
         fw::ResizableDialog::HandleMessage(message, wParam, lParam, result);
}

void CISDNActivityMonitor::OnTimer(UINT_PTR) {
  const double sample = m_calls.TakePeak();
  m_chart.AppendPoints({&sample, 1});
}

void CISDNActivityMonitor::OnDestroy() {
  m_timerRunning = 0;
  KillTimer(Hwnd(), kSampleTimerId);
}

}  // namespace tfm
