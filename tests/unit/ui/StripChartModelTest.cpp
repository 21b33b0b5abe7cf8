#include "ui/StripChartModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace tfm {
namespace {

const ChartRect kClient{0, 0, 300, 200};
// The band after a resize of kClient and the background redraw that moves its left edge.
const ChartRect kPlot{60, 10, 290, 175};
const double kInf = std::numeric_limits<double>::infinity();

TEST(StripChartGeometry, ResizeSetsBandAndScaleOfEveryPlot) {
  EXPECT_EQ((ChartRect{20, 10, 290, 175}), PlotRectForClient(kClient));
  EXPECT_EQ((ChartRect{30, 15, 285, 162}), PlotRectForClient(kClient, 144));  // 37.5 rounds to 38
  StripChartModel model(16);
  EXPECT_EQ(Rgb(255, 255, 255), model.plots()[15].colour);  // past the colour table
  ASSERT_TRUE(model.SetRange(0.0, 10.0, 1));
  model.SetPlotRect(PlotRectForClient(kClient));
  EXPECT_DOUBLE_EQ(165.0 / 20.0, model.plots()[0].scale);
  EXPECT_DOUBLE_EQ(165.0 / 10.0, model.plots()[1].scale);
  EXPECT_FALSE(model.SetRange(0.0, 1.0, 16));
}

TEST(StripChartGeometry, RowsTruncateTowardZeroAndStayDefined) {
  struct Case {
    double value, lower, scale;
    int32_t row;
  };
  const Case cases[] = {{0.0, 0.0, 16.5, 175},   {10.0, 0.0, 16.5, 10},   {5.0, 0.0, 16.5, 93},
                        {0.06, 0.0, 16.5, 175},  // 0.99 pixels up stays on the bottom row
                        {-0.06, 0.0, 16.5, 175},  // and 0.99 down too: toward zero, not floor
                        {-1.0, 0.0, 16.5, 191},  {11.0, 0.0, 16.5, -6},   {-4.0, -10.0, 8.25, 126},
                        {3.0, 3.0, kInf, 175},  // empty range: 0 x infinity
                        {4.0, 3.0, kInf, 175 - (1 << 20)}, {-1e308, 0.0, 1e10, 175 + (1 << 20)},
                        {std::nan(""), 0.0, 16.5, 175}};
  for (const Case& c : cases) EXPECT_EQ(c.row, ValueToRow(c.value, c.lower, c.scale, 175)) << c.value;
}

TEST(StripChartGeometry, SegmentsChainAndClearOutsideTheBand) {
  ChartPlot plot(Rgb(255, 255, 255));
  plot.lower = 0.0;
  plot.range = 10.0;
  plot.scale = 16.5;
  auto next = [&](double value, int32_t shift = 1) {
    plot.current = value;
    return PlanSegment(plot, kPlot, kClient, shift);
  };
  SegmentPlan s = next(5.0);
  EXPECT_EQ(288, s.x0);
  EXPECT_EQ(289, s.x1);
  EXPECT_EQ(175, s.y0);  // from the initial 0.0 on the bottom row
  EXPECT_EQ(93, s.y1);
  s = next(2.0, 3);
  EXPECT_EQ(286, s.x0);
  EXPECT_EQ(93, s.y0);  // the previous row
  EXPECT_FALSE(s.clearAbove || s.clearBelow);

  s = next(12.0);
  EXPECT_TRUE(s.clearAbove);
  EXPECT_FALSE(s.clearBelow);
  EXPECT_EQ((ChartRect{288, 0, 295, 11}), s.above);  // a tall segment
  s = next(-3.0);
  EXPECT_TRUE(s.clearAbove && s.clearBelow);
  EXPECT_EQ((ChartRect{288, 176, 295, 201}), s.below);
  s = next(0.0, 3);
  s = next(0.0, 3);
  EXPECT_TRUE(s.clearBelow);  // the bottom row counts as reached
  EXPECT_EQ(296, s.below.right);  // a wide segment
  EXPECT_TRUE(next(10.0).clearAbove);  // and so does the top row

  plot.previous = 10.0;
  plot.previousY = 0;  // zero means no previous row
  EXPECT_EQ(10, next(5.0).y0);
}

TEST(StripChartGeometry, LabelsAndGridSitAtTheirAnchors) {
  const LabelLayout l = LayoutLabels(kClient, kPlot, 16, 14);
  EXPECT_EQ(3, l.topY);
  EXPECT_EQ(175 - 82 - 7, l.middleY);  // (10 - 175) / 2 truncates toward zero
  EXPECT_EQ(32 - 8, l.yTitleX);
  EXPECT_EQ(92 - 8, l.yTitleBaseline);
  EXPECT_EQ((std::vector<int32_t>{37, 65, 92, 120, 147}), GridRows(kPlot, 5));
  const LabelLayout scaled = LayoutLabels(kClient, kPlot, 24, 21, 144);  // gaps of 6, half a 21-pixel font
  EXPECT_EQ(10 - 10, scaled.topY);
  EXPECT_EQ(60 - 6, scaled.bottomX);
  EXPECT_EQ(175 + 6, scaled.xTitleY);
  EXPECT_EQ(33 - 12, scaled.yTitleX);
  EXPECT_EQ("10.0", FormatLimit(10.0, 1));
  EXPECT_EQ("3", FormatLimit(3.0, -4));
  EXPECT_EQ(304u, FormatLimit(-1e300, 1).size());  // no fixed buffer cuts a huge limit
}

// A count of calls reads in whole calls: 0, 1, 2, 3, never 1.5; a larger range in steps of 2, 5, 10, ...
TEST(StripChartGeometry, AWholeUnitAxisHasWholeLabelsAtWholeSteps) {
  const auto marks = [](double lower, double upper, int32_t spacing) {
    std::string shown;
    for (const AxisMark& mark : WholeAxisMarks(lower, upper, kPlot, spacing))
      shown += mark.text + "@" + std::to_string(mark.row) + " ";
    return shown;
  };
  EXPECT_EQ("0@175 1@120 2@65 3@10 ", marks(0.0, 3.0, 21));
  EXPECT_EQ("0@175 2@65 ", marks(0.0, 3.0, 56)) << "one step would bring the labels closer than asked";
  EXPECT_EQ("0@175 20@142 40@109 60@76 80@43 100@10 ", marks(0.0, 100.0, 21));
  EXPECT_EQ("0@152 1@105 2@58 3@10 ", marks(-0.5, 3.0, 21)) << "from the first whole value inside the limits";
  EXPECT_EQ("", marks(3.0, 3.0, 21));
  EXPECT_EQ("", marks(0.0, std::nan(""), 21));
}

TEST(DisplayScale, LengthsScaleRoundedAndColumnsFillTheWidthExactly) {
  struct Case {
    int32_t value;
    uint32_t dpi;
    int32_t scaled;
  } const cases[] = {{60, 96, 60}, {25, 144, 38}, {-7, 144, -11}, {1, 120, 1}, {14, 192, 28}, {10, 0, 10}};
  for (const Case& c : cases) EXPECT_EQ(c.scaled, ScaleForDpi(c.value, c.dpi)) << c.value << " at " << c.dpi;
  EXPECT_EQ(1, LineWidthForDpi(144));
  EXPECT_EQ(2, LineWidthForDpi(192));

  const int32_t shares[] = {14, 24, 24, 20, 18};
  EXPECT_EQ((std::vector<int32_t>{62, 106, 105, 87, 79}), FitColumnWidths(shares, 439));  // 2 left over
  EXPECT_EQ((std::vector<int32_t>{0, 0, 0, 0, 0}), FitColumnWidths(shares, -3));
  const int32_t oddShares[] = {0, -5, 1, 1};
  EXPECT_EQ((std::vector<int32_t>{0, 0, 2, 1}), FitColumnWidths(oddShares, 3));
  EXPECT_EQ((std::vector<int32_t>{0, 0}), FitColumnWidths(std::vector<int32_t>{0, 0}, 100));
}

TEST(StripChartHistory, CapacityGrowsWithTheWidthAndOldestSamplesGo) {
  EXPECT_EQ(1024, RaisedCapacity(1024, 1014, 1));
  EXPECT_EQ(1025, RaisedCapacity(1024, 1015, 1));
  EXPECT_EQ(1510, RaisedCapacity(1024, 3000, 2));
  EXPECT_EQ(3010, RaisedCapacity(1024, 3000, 0));  // a zero shift counts as one pixel

  StripChartModel model(1);
  for (int i = 1; i <= 1030; ++i) model.TakeSample(std::vector<double>{double(i)}, true, false);
  model.TakeSample(std::vector<double>{-1.0}, false, false);  // not stored
  const auto& history = model.plots()[0].history;
  ASSERT_EQ(1024u, history.size());
  EXPECT_DOUBLE_EQ(7.0, history.front());
  EXPECT_DOUBLE_EQ(1030.0, history.back());
  model.RaiseCapacity(1100, 1);
  model.RaiseCapacity(300, 1);  // never shrinks
  for (int i = 0; i < 100; ++i) model.TakeSample(std::vector<double>{0.0}, true, false);
  EXPECT_EQ(1110u, history.size());
}

TEST(StripChartHistory, ReplayRunsOldestFirstOverThePlotsThatTookSamples) {
  StripChartModel model(3);
  model.plots()[0].divisor = 2;
  model.plots()[1].divisor = 0;  // no division by zero
  EXPECT_EQ(0u, model.ReplayRowCount());  // nothing stored: nothing to replay
  model.TakeSample(std::vector<double>{2.0}, true, true);
  model.TakeSample(std::vector<double>{4.0, 20.0}, true, true);
  EXPECT_EQ(2u, model.TakeSample(std::vector<double>{6.0, 30.0}, true, false));
  EXPECT_EQ(3u, model.TakeSample(std::vector<double>{1, 2, 3, 4}, false, false));  // extra values ignored
  std::vector<double> row;
  const std::vector<std::vector<double>> expected{{0.0, 0.0}, {1.0, 20.0}, {2.0, 30.0}, {6.0, 0.0}};
  ASSERT_EQ(expected.size(), model.ReplayRowCount());
  for (size_t j = 0; j < expected.size(); ++j) {
    model.ReplayRow(j, row);
    EXPECT_EQ(expected[j], row) << "row " << j;  // plot 1 has fewer samples, plot 2 none
  }
}

}  // namespace
}  // namespace tfm
