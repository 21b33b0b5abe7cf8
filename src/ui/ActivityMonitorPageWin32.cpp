#include "ui/ActivityMonitorPageWin32.h"

#include <string>

#include "framework/HighContrast.h"
#include "os/Text.h"
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
constexpr char kChartName[] = "Calls in progress";
constexpr uint64_t kAnnouncementIntervalMs = 1000;

}  // namespace

CISDNActivityMonitor::CISDNActivityMonitor(const std::atomic<int32_t>& workersRunning, CallActivity& calls,
                                           const fw::CColorizedTheme* theme)
    : fw::ResizableDialog(IDD_ACTIVITY_MONITOR, theme), m_chart(kPlotCount, workersRunning), m_calls(calls) {}

// The platform's own handling of both messages follows.
const fw::MessageEntry<CISDNActivityMonitor> CISDNActivityMonitor::kMessageMap[] = {
    fw::OnTimer<&CISDNActivityMonitor::OnTimer>(fw::Platform::After),
    fw::OnMessage<&CISDNActivityMonitor::OnDestroy>(WM_DESTROY, fw::Platform::After),
    // The dialog passes a change of the system's colours on to its pages.
    fw::OnMessage<&CISDNActivityMonitor::ApplyChartColours>(WM_SYSCOLORCHANGE, fw::Platform::After),
};

bool CISDNActivityMonitor::OnInitDialog() {
  fw::ResizableDialog::OnInitDialog();
  ShowSizeGrip(false);
  CreateChart();
  EnableWindow(Hwnd(), TRUE);
  m_calls.TakePeak();  // calls before the page opened are not its first sample
  ShowCallsInProgress();
  m_announcements = AnnouncementLimit(m_shownCalls, kAnnouncementIntervalMs);  // found, not announced
  m_timerRunning = 1;
  SetTimer(Hwnd(), kSampleTimerId, kSamplePeriodMs, nullptr);
  return true;
}

void CISDNActivityMonitor::CreateChart() {
  RECT frame{};
  const HWND placeholder = Item(IDC_CHART_FRAME);
  GetWindowRect(placeholder, &frame);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&frame), 2);
  if (!m_chart.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, frame, Hwnd(), 0)) return;
  // Children are created below their older siblings; the chart goes right below the text above it:
  // over the frame, which it covers, and next in the keyboard's order. Screen readers take its name
  // from its text.
  SetWindowPos(m_chart.Hwnd(), Item(IDC_CALLS_IN_PROGRESS), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowTextW(m_chart.Hwnd(), os::Wide(kChartName).c_str());
  AddAnchor(placeholder, fw::kTopLeft, fw::kBottomRight);
  AddAnchor(m_chart.Hwnd(), fw::kTopLeft, fw::kBottomRight);
  AddAnchor(IDC_CALLS_IN_PROGRESS, fw::kTopLeft, {100, 0});
  for (size_t plot = 0; plot < kPlotCount; ++plot) m_chart.SetRange(kLower, kUpper, plot);
  m_chart.SetYUnits("Calls", "", "");
  m_chart.SetWholeUnits(true);
  m_chart.SetXUnits("1 sec");
  ApplyChartColours();
}

void CISDNActivityMonitor::ApplyChartColours() {
  if (!m_chart.Hwnd()) return;
  const bool system = fw::HighContrastOn();
  m_chart.SetBackgroundColor(system ? GetSysColor(COLOR_WINDOW) : kBackground);
  m_chart.SetGridColor(system ? GetSysColor(COLOR_WINDOWTEXT) : kGrid);
  m_chart.SetPlotColor(system ? GetSysColor(COLOR_HIGHLIGHT) : kSampleTrace, 0);
  m_chart.RedrawBackground(true);
}

bool CISDNActivityMonitor::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CISDNActivityMonitor>(kMessageMap, message, wParam, lParam, result) ||
         fw::ResizableDialog::HandleMessage(message, wParam, lParam, result);
}

void CISDNActivityMonitor::OnTimer(UINT_PTR) {
  const double sample = m_calls.TakePeak();
  m_chart.AppendPoints({&sample, 1});
  ShowCallsInProgress();
  AnnounceCallsInProgress();
}

void CISDNActivityMonitor::ShowCallsInProgress() {
  const int32_t calls = m_calls.InProgress();
  if (calls == m_shownCalls) return;
  m_shownCalls = calls;
  const std::string text = std::string(kChartName) + ": " + std::to_string(calls);
  // The text's own change is told as a change of its name; the chart's value is told as a value.
  SetWindowTextW(Item(IDC_CALLS_IN_PROGRESS), os::Wide(text).c_str());
  m_chart.SetAccessibleValue(std::to_string(calls));
}

void CISDNActivityMonitor::AnnounceCallsInProgress() {
  if (m_announcements.ShouldAnnounce(m_shownCalls, GetTickCount64()))
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, m_chart.Hwnd(), OBJID_CLIENT, CHILDID_SELF);
}

void CISDNActivityMonitor::OnDestroy() {
  m_timerRunning = 0;
  KillTimer(Hwnd(), kSampleTimerId);
}

}  // namespace tfm
