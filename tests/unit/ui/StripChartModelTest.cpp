#include "ui/StripChartModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace tfm {
namespace {

const ChartRect kClient{0, 0, 300, 200};
// The band after a resize of kClient and the background redraw that moves its left edge.
const ChartRect kPlot{60, 10, 290, 175};

TEST(StripChartColours, DefaultsFollowThePlotIndexAndEndInWhite) {
  EXPECT_EQ(0x030201u, Rgb(1, 2, 3));  // the platform's COLORREF layout
  EXPECT_EQ(Rgb(255, 0, 0), DefaultPlotColour(0));
  EXPECT_EQ(Rgb(255, 192, 192), DefaultPlotColour(1));
  EXPECT_EQ(Rgb(255, 255, 0), DefaultPlotColour(2));
  EXPECT_EQ(Rgb(192, 192, 255), DefaultPlotColour(11));
  EXPECT_EQ(Rgb(255, 255, 255), DefaultPlotColour(14));
  EXPECT_EQ(Rgb(255, 255, 255), DefaultPlotColour(15));
  EXPECT_EQ(Rgb(255, 255, 255), DefaultPlotColour(1000));

  StripChartModel model(16);
  EXPECT_EQ(Rgb(160, 0, 160), model.plots()[13].colour);
  EXPECT_EQ(Rgb(255, 255, 255), model.plots()[15].colour);
}

TEST(StripChartGeometry, ResizeSetsBandAndScaleOfEveryPlot) {
  EXPECT_EQ((ChartRect{20, 10, 290, 175}), PlotRectForClient(kClient));
  EXPECT_EQ((ChartRect{20, 10, 20, 5}), PlotRectForClient({0, 0, 30, 30}));

  StripChartModel model(2);
  ASSERT_TRUE(model.SetRange(0.0, 10.0, 1));
  model.SetPlotRect(PlotRectForClient(kClient));
  EXPECT_DOUBLE_EQ(165.0 / 20.0, model.plots()[0].scale);
  EXPECT_DOUBLE_EQ(165.0 / 10.0, model.plots()[1].scale);
  // A range set later uses the stored band's height.
  ASSERT_TRUE(model.SetRange(-1.0, 2.0, 0));
  EXPECT_DOUBLE_EQ(165.0 / 3.0, model.plots()[0].scale);
  EXPECT_FALSE(model.SetRange(0.0, 1.0, 2));
}

struct RowCase {
  double value, lower, scale;
  int32_t row;
};
void PrintTo(const RowCase& c, std::ostream* os) { *os << c.value << " from " << c.lower << " x " << c.scale; }

class ValueToRowTable : public ::testing::TestWithParam<RowCase> {};

TEST_P(ValueToRowTable, TruncatesTowardZero) {
  const RowCase c = GetParam();
  EXPECT_EQ(c.row, ValueToRow(c.value, c.lower, c.scale, 175));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ValueToRowTable,
    ::testing::Values(RowCase{0.0, 0.0, 16.5, 175}, RowCase{10.0, 0.0, 16.5, 10}, RowCase{5.0, 0.0, 16.5, 93},
                      RowCase{0.06, 0.0, 16.5, 175},  // 0.99 pixels up stays on the bottom row
                      RowCase{-0.06, 0.0, 16.5, 175},  // 0.99 down too: toward zero, not floor
                      RowCase{-1.0, 0.0, 16.5, 191}, RowCase{11.0, 0.0, 16.5, -6},
                      RowCase{-4.0, -10.0, 8.25, 126}));

TEST(StripChartGeometry, RowsOfDegenerateRangesAreDefined) {
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(175, ValueToRow(3.0, 3.0, inf, 175));  // empty range: 0 * inf
  EXPECT_EQ(175 - (1 << 20), ValueToRow(4.0, 3.0, inf, 175));
  EXPECT_EQ(175 + (1 << 20), ValueToRow(-1e308, 0.0, 1e10, 175));
  EXPECT_EQ(175, ValueToRow(std::nan(""), 0.0, 16.5, 175));
}

class SegmentTest : public ::testing::Test {
 protected:
  SegmentTest() : plot(Rgb(255, 255, 255)) {
    plot.lower = 0.0;
    plot.upper = 10.0;
    plot.range = 10.0;
    plot.scale = kPlot.Height() / 10.0;
  }
  SegmentPlan Next(double value, int32_t shift = 1) {
    plot.current = value;
    return PlanSegment(plot, kPlot, kClient, shift);
  }
  ChartPlot plot;
};

TEST_F(SegmentTest, SegmentEndsAtTheRightEdgeAndChainsRows) {
  const SegmentPlan first = Next(5.0);
  EXPECT_EQ(288, first.x0);
  EXPECT_EQ(289, first.x1);
  EXPECT_EQ(175, first.y0);  // from the initial 0.0
  EXPECT_EQ(93, first.y1);
  EXPECT_FALSE(first.clearAbove);
  EXPECT_TRUE(first.clearBelow);  // it starts on the bottom row
  const SegmentPlan second = Next(2.0, 3);
  EXPECT_EQ(286, second.x0);
  EXPECT_EQ(93, second.y0);
  EXPECT_EQ(142, second.y1);
  EXPECT_FALSE(second.clearAbove);
  EXPECT_FALSE(second.clearBelow);
  EXPECT_EQ(142, plot.previousY);
  EXPECT_DOUBLE_EQ(2.0, plot.previous);
}

TEST_F(SegmentTest, MissingPreviousRowIsComputedFromThePreviousValue) {
  plot.previous = 10.0;
  plot.previousY = 0;  // zero counts as none
  EXPECT_EQ(10, Next(5.0).y0);
}

TEST_F(SegmentTest, ValuesOutsideTheRangeClearAboveOrBelowTheBand) {
  Next(5.0);
  const SegmentPlan up = Next(12.0);
  EXPECT_TRUE(up.clearAbove);
  EXPECT_FALSE(up.clearBelow);
  // Tall segment: the line's last pixel stays within 5 columns right of the band.
  EXPECT_EQ((ChartRect{288, 0, 295, 11}), up.above);

  const SegmentPlan down = Next(-3.0);
  EXPECT_TRUE(down.clearAbove);  // it starts above the band
  EXPECT_TRUE(down.clearBelow);
  EXPECT_EQ((ChartRect{288, 176, 295, 201}), down.below);

  const SegmentPlan atLimit = Next(0.0);
  EXPECT_TRUE(atLimit.clearBelow);  // the bottom row is reached
  EXPECT_FALSE(atLimit.clearAbove);

  const SegmentPlan flat = Next(0.0, 3);
  EXPECT_EQ(296, flat.below.right);  // wider than high
  EXPECT_TRUE(Next(10.0).clearAbove);  // the top row counts as above
}

TEST(StripChartGeometry, ScrollCoversTheWholeBandAndUncoversTheShift) {
  EXPECT_EQ((ChartRect{60, 10, 291, 176}), ScrolledBand(kPlot));
  EXPECT_EQ((ChartRect{290, 10, 291, 176}), UncoveredStrip(kPlot, 1));
  EXPECT_EQ((ChartRect{287, 10, 291, 176}), UncoveredStrip(kPlot, 4));
}

TEST(StripChartGeometry, GridLinesDivideTheBandEvenly) {
  EXPECT_EQ((std::vector<int32_t>{37, 65, 92, 120, 147}), GridRows(kPlot, 5));
  EXPECT_EQ((std::vector<int32_t>{92}), GridRows(kPlot, 1));
  EXPECT_TRUE(GridRows(kPlot, 0).empty());
  EXPECT_TRUE(GridRows(kPlot, -3).empty());
}

TEST(StripChartGeometry, LabelsSitAtTheirAnchors) {
  const LabelLayout l = LayoutLabels(kClient, kPlot, 16);
  EXPECT_EQ(56, l.topX);
  EXPECT_EQ(3, l.topY);
  EXPECT_EQ(58, l.middleX);
  EXPECT_EQ(175 - 82 - 7, l.middleY);  // (10 - 175) / 2 truncates toward zero
  EXPECT_EQ(56, l.bottomX);
  EXPECT_EQ(175, l.bottomBaseline);
  EXPECT_EQ(175, l.xTitleX);
  EXPECT_EQ(179, l.xTitleY);
  EXPECT_EQ(32 - 8, l.yTitleX);
  EXPECT_EQ(92 - 8, l.yTitleBaseline);
}

TEST(StripChartGeometry, LimitsAreFormattedWithTheirDecimals) {
  EXPECT_EQ("0.0", FormatLimit(0.0, 1));
  EXPECT_EQ("5.0", FormatLimit(5.0, 1));
  EXPECT_EQ("10.0", FormatLimit(10.0, 1));
  EXPECT_EQ("-2.50", FormatLimit(-2.5, 2));
  EXPECT_EQ("3", FormatLimit(3.0, -4));
  EXPECT_EQ(std::string("1.") + std::string(17, '0'), FormatLimit(1.0, 99));
  EXPECT_EQ(304u, FormatLimit(-1e300, 1).size());  // no fixed buffer cuts a huge limit
}

}  // namespace
}  // namespace tfm
