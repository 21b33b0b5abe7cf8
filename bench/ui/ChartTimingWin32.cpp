// Times the strip chart: appending one sample against the size of the history and the width of the
// chart, next to a full replay of the history. Appending scrolls the trace layer and draws one
// segment, so its cost should follow the height of the band, not the history.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "ChartTestWindow.h"

namespace {

using tfm::test::ChartTestWindow;

// Values from -5 to +5 that jump about, so that segments of every height are drawn.
double NextSample() { return std::rand() * (10.0 / RAND_MAX) - 5.0; }

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

// Median cost of one append, in microseconds. Each append is timed on its own, and few of them are
// taken, so that the history stays close to the size under test.
double AppendMicroseconds(tfm::CStripChart& chart) {
  constexpr int kWarmUp = 10;
  std::vector<double> times;
  for (int i = 0; i < kWarmUp + 41; ++i) {
    const std::vector<double> value{NextSample()};
    const LARGE_INTEGER start = Now();
    chart.AppendPoints(value);
    if (i >= kWarmUp) times.push_back(Seconds(start, Now()) * 1e6);
  }
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  return times[times.size() / 2];
}

// One full replay of the history, as the replay timer runs it, in milliseconds.
double ReplayMilliseconds(tfm::CStripChart& chart) {
  chart.RedrawBackground(true);
  const LARGE_INTEGER start = Now();
  SendMessageA(chart.Hwnd(), WM_TIMER, tfm::CStripChart::kReplayTimerId, 0);
  return Seconds(start, Now()) * 1e3;
}

}  // namespace

int main() {
  std::printf("%8s %10s %10s %12s %12s\n", "width", "appended", "history", "append us", "replay ms");
  for (const int width : {300, 3000}) {
    for (const int samples : {100, 10000}) {
      ChartTestWindow window(width, 200, 1);
      tfm::CStripChart& chart = window.chart();
      for (int i = 0; i < samples; ++i) chart.AppendPoints(std::vector<double>{NextSample()}, false);
      const size_t history = chart.model().plots()[0].history.size();
      const double replay = ReplayMilliseconds(chart);
      const double append = AppendMicroseconds(chart);
      std::printf("%8d %10d %10zu %12.2f %12.2f\n", width, samples, history, append, replay);
    }
  }
  return 0;
}
