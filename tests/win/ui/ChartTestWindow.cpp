#include "ChartTestWindow.h"

namespace tfm::test {

ChartTestWindow::ChartTestWindow(int width, int height, int32_t workersRunning)
    : m_workersRunning(workersRunning),
      m_parent(CreateWindowExA(0, "STATIC", "chart test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 3200, 600,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)),
      m_chart(std::make_unique<CStripChart>(3, m_workersRunning)) {
  const RECT rect{0, 0, width, height};
  if (!m_chart->Create(WS_CHILD | WS_VISIBLE, rect, m_parent, 0)) return;
  // The activity page's settings.
  for (size_t plot = 0; plot < 3; ++plot) m_chart->SetRange(0.0, 10.0, plot);
  m_chart->SetYUnits("Calls", "", "");
  m_chart->SetXUnits("1 sec");
  m_chart->SetBackgroundColor(kBackground);
  m_chart->SetGridColor(kGrid);
  m_chart->SetPlotColor(kTrace, 0);
  m_chart->RedrawBackground(true);
  WaitForReplay();
}

ChartTestWindow::~ChartTestWindow() {
  m_chart.reset();
  DestroyWindow(m_parent);
  PumpUntilIdle();
}

ChartRect ChartTestWindow::client() const {
  RECT r{};
  GetClientRect(m_chart->Hwnd(), &r);
  return {r.left, r.top, r.right, r.bottom};
}

void ChartTestWindow::ResizeChart(int width, int height) {
  SetWindowPos(m_chart->Hwnd(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
  PumpUntilIdle();
}

bool ChartTestWindow::WaitForReplay() {
  return PumpUntil([this] { return !m_chart->replayPending(); }, 2000);
}

}  // namespace tfm::test
