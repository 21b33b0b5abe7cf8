#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ChartTestWindow.h"
#include "framework/Dpi.h"

namespace tfm::test {
namespace {

// The band a client area gets: 60 pixels for the labels on the left, 10 above, 10 on the right and
// 25 below for the horizontal title.
ChartRect Band(const ChartRect& client) { return {60, 10, client.right - 10, client.bottom - 25}; }

// Row of a value of the 0 ... 10 range: whole pixels counted up from the bottom, fractions dropped.
int Row(const ChartRect& band, double value) {
  return band.bottom - static_cast<int>(value * (band.bottom - band.top) / 10.0);
}

// A band that holds no pixel: everything counts as outside.
constexpr ChartRect kNowhere{0, 0, -1, -1};

bool Inside(const ChartRect& band, int x, int y) {
  return x >= band.left && x <= band.right && y >= band.top && y <= band.bottom;
}

// Pixels of the trace layer outside the band that are not background.
int StrayTracePixels(HDC layer, const ChartRect& client, const ChartRect& band) {
  int stray = 0;
  for (int y = client.top; y < client.bottom; ++y) {
    for (int x = client.left; x < client.right; ++x) {
      if (!Inside(band, x, y) && GetPixel(layer, x, y) != kBackground) ++stray;
    }
  }
  return stray;
}

class StripChartTest : public ::testing::Test {
 protected:
  ChartTestWindow window{300, 200, 1};
  CStripChart& chart = window.chart();

  void Append(double value) {
    chart.AppendPoints(std::vector<double>{value});
    PumpUntilIdle();
  }
  // The pixels of the background layer left of the band, where the value labels and the title are.
  std::vector<COLORREF> LabelArea() {
    std::vector<COLORREF> pixels;
    const ChartRect client = window.client();
    for (int y = client.top; y < client.bottom; ++y) {
      for (int x = client.left; x < chart.plotRect().left; ++x) pixels.push_back(GetPixel(chart.backgroundLayer(), x, y));
    }
    return pixels;
  }
};

TEST_F(StripChartTest, NewChartShowsOnlyFrameGridLabelsAndTitles) {
  ASSERT_NE(nullptr, chart.Hwnd());
  const ChartRect client = window.client();
  const ChartRect band = Band(client);
  EXPECT_EQ(band, chart.plotRect());
  // The frame one pixel outside the band on the right and below, and the dotted grid rows inside it.
  const HDC background = chart.backgroundLayer();
  const POINT frame[] = {{band.left, band.top}, {band.right + 1, band.bottom + 1}, {band.left, band.bottom + 1}};
  for (const POINT p : frame) EXPECT_EQ(kGrid, GetPixel(background, p.x, p.y)) << p.x << "," << p.y;
  for (const int32_t row : GridRows(band, 5)) {
    EXPECT_EQ(kGrid, GetPixel(background, band.left + 4, row)) << row;
    EXPECT_EQ(kBackground, GetPixel(background, band.left + 2, row)) << row;
  }
  const std::vector<COLORREF> numbers = LabelArea();
  EXPECT_NE(0, std::count(numbers.begin(), numbers.end(), kGrid)) << "the labels are drawn";
  // The replay after the set-up has run and drew nothing: no sample has been taken yet.
  EXPECT_FALSE(chart.replayPending());
  EXPECT_EQ(0, StrayTracePixels(chart.traceLayer(), client, kNowhere));
  // Texts replace the limits; the middle label stays a number.
  chart.SetYUnits("Calls", "idle", "busy");
  EXPECT_NE(numbers, LabelArea());
}

// At 144 DPI the margins grow by half and the labels with their font; none of them reaches an edge.
TEST_F(StripChartTest, AtAnotherDpiTheLabelsGrowAndStayInside) {
  const std::vector<COLORREF> before = LabelArea();
  SendMessageA(chart.Hwnd(), fw::kDpiChangedAfterParent, 144, 0);
  const ChartRect client = window.client();
  EXPECT_EQ((ChartRect{90, 15, client.right - 15, client.bottom - 38}), chart.plotRect());
  const auto ink = [](const std::vector<COLORREF>& area) {
    return std::count_if(area.begin(), area.end(), [](COLORREF c) { return c != kBackground; });
  };
  EXPECT_GT(ink(LabelArea()), ink(before) * 3 / 2);
  const HDC background = chart.backgroundLayer();
  for (int x = client.left; x < client.right; ++x) {
    EXPECT_EQ(kBackground, GetPixel(background, x, client.top)) << x;
    EXPECT_EQ(kBackground, GetPixel(background, x, client.bottom - 1)) << x;
  }
  for (int y = client.top; y < client.bottom; ++y) EXPECT_EQ(kBackground, GetPixel(background, client.left, y)) << y;
}

TEST_F(StripChartTest, ResizeRedrawsTheTracesFromTheHistory) {
  const double values[] = {1.0, 9.0, 3.0, 7.0, 5.0, 2.0, 8.0, 4.0};
  for (const double v : values) Append(v);

  window.ResizeChart(400, 250);
  const ChartRect client = window.client();
  const ChartRect band = Band(client);
  ASSERT_EQ(band, chart.plotRect());
  ASSERT_TRUE(chart.replayPending());
  EXPECT_EQ(0, StrayTracePixels(chart.traceLayer(), client, kNowhere));

  ASSERT_TRUE(window.WaitForReplay());
  // Sample k counted back from the newest ends in column right - 1 - k.
  const int count = static_cast<int>(std::size(values));
  for (int k = 0; k < count; ++k) {
    const double v = values[count - 1 - k];
    EXPECT_EQ(kTrace, GetPixel(chart.traceLayer(), band.right - 1 - k, Row(band, v))) << "sample " << v;
  }
  EXPECT_EQ(0, StrayTracePixels(chart.traceLayer(), client, band));
}

TEST(StripChartWithoutWorkers, ResizeClearsTheTracesAndSchedulesNoReplay) {
  ChartTestWindow window(300, 200, 0);
  window.chart().AppendPoints(std::vector<double>{7.0});
  window.ResizeChart(320, 220);
  EXPECT_FALSE(window.chart().replayPending());
  const ChartRect client = window.client();
  EXPECT_EQ(0, StrayTracePixels(window.chart().traceLayer(), client, kNowhere));
}

}  // namespace
}  // namespace tfm::test
