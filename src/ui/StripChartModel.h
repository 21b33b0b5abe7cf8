#pragma once
// The strip chart's model apart from any drawing: plot records, the plot band, the value-to-row
// mapping, the segment and label geometry, and the bounded sample history with its replay rows.
// The Win32 chart feeds these numbers to GDI; native tests check them.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "common/DisplayScale.h"

namespace tfm {

// 0x00BBGGRR, the layout of the platform's COLORREF, so a colour passes to GDI unchanged.
using Colour = uint32_t;
constexpr Colour Rgb(uint8_t r, uint8_t g, uint8_t b) {
  return Colour{r} | (Colour{g} << 8) | (Colour{b} << 16);
}

// Trace colour of a plot by its index; plots 15 and later are white.
Colour DefaultPlotColour(size_t plotIndex);

// Client coordinates; right and bottom are exclusive where the rectangle is filled or scrolled.
struct ChartRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  friend bool operator==(const ChartRect&, const ChartRect&) = default;
};

struct ChartPlot {
  explicit ChartPlot(Colour c) : colour(c) {}
  Colour colour;
  double current = 0.0;
  double previous = 0.0;
  int32_t previousY = -1;  // row of the previous sample; <= 0 means none
  double lower = -10.0;
  double upper = 10.0;
  double range = 20.0;
  double scale = 0.0;  // band height in pixels per value unit
  int32_t divisor = 1;
  std::deque<double> history{0.0};  // oldest first
};

// Pixel row of a value: plotBottom - trunc((value - lower) * scale). The offset is held to
// +/-kRowLimit so that an empty range (infinite scale) or a NaN gives a defined row.
inline constexpr double kRowLimit = 1 << 20;
int32_t ValueToRow(double value, double lower, double scale, int32_t plotBottom);

// The band in which traces are drawn, as a resize sets it; the background redraw then moves its
// left edge to client left + kPlotLeftOffset to make room for the value labels. Margins and offsets
// are given for 96 DPI and scale with the chart's DPI.
ChartRect PlotRectForClient(const ChartRect& client, uint32_t dpi = kDesignDpi);
inline constexpr int32_t kPlotLeftOffset = 60;

// The part of the trace layer moved left by one sample: every column and row of the band,
// including its bottom row, where values at and below the lower limit are drawn.
ChartRect ScrolledBand(const ChartRect& plot);
// The columns at the right edge that the scroll uncovers.
ChartRect UncoveredStrip(const ChartRect& plot, int32_t shiftPixels);

// One new line segment of one plot, and what to clear so that nothing of it shows outside the band.
struct SegmentPlan {
  int32_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;  // both end pixels are drawn
  bool clearAbove = false;
  ChartRect above;
  bool clearBelow = false;
  ChartRect below;
};
// Plans the segment from the plot's previous to its current sample and advances the plot
// (previousY = new row, previous = current).
SegmentPlan PlanSegment(ChartPlot& plot, const ChartRect& plotRect, const ChartRect& client, int32_t shiftPixels);

// Rows of the dotted grid lines between the top and bottom of the band.
std::vector<int32_t> GridRows(const ChartRect& plot, int32_t gridLines);
inline constexpr int32_t kGridDotSpacing = 4;

// Anchor points of the axis texts. Value labels are right-aligned at x; the top and middle label
// have their top at y, the bottom label its baseline. The x title is centred at x with its top at y;
// the y title (rotated, bottom-to-top) is centred on x with its baseline at y.
struct LabelLayout {
  int32_t topX, topY;
  int32_t middleX, middleY;
  int32_t bottomX, bottomBaseline;
  int32_t xTitleX, xTitleY;
  int32_t yTitleX, yTitleBaseline;
};
// textHeight: height of the rotated y title's text box; labelHeight: the labels' line height in pixels.
LabelLayout LayoutLabels(const ChartRect& client, const ChartRect& plot, int32_t textHeight, int32_t labelHeight,
                         uint32_t dpi = kDesignDpi);
// The labels' height in pixels at 96 DPI where the system cannot tell its message font.
inline constexpr int32_t kFallbackLabelHeight = 14;

// A limit value as the labels show it ("%.*lf"); decimals are held to 0...17.
std::string FormatLimit(double value, int32_t decimals);

// An axis of whole units (calls): a label at every whole step between the limits, and a grid line at each
// one inside the band. The step is 1, 2, 5, 10, 20, 50, ..., the smallest that keeps the labels at least
// minSpacing pixels apart; none for an empty or undefined range.
struct AxisMark {
  int32_t row;
  std::string text;
  friend bool operator==(const AxisMark&, const AxisMark&) = default;
};
std::vector<AxisMark> WholeAxisMarks(double lower, double upper, const ChartRect& plot, int32_t minSpacing);

// historyCapacity never shrinks; it grows to hold one sample per column of the client area plus 10.
int32_t RaisedCapacity(int32_t capacity, int32_t clientWidth, int32_t shiftPixels);

// The plots, their samples and the history. Plots beyond the values a caller hands in are left
// alone: they take no sample, store nothing and draw nothing, also when the history is replayed.
class StripChartModel {
 public:
  explicit StripChartModel(size_t plotCount);

  std::vector<ChartPlot>& plots() { return m_plots; }
  const std::vector<ChartPlot>& plots() const { return m_plots; }
  int32_t historyCapacity() const { return m_historyCapacity; }

  // Stores the band and each plot's scale after a resize.
  void SetPlotRect(const ChartRect& plot);
  const ChartRect& plotRect() const { return m_plotRect; }
  void SetPlotLeft(int32_t left) { m_plotRect.left = left; }
  // False for an unknown plot index.
  bool SetRange(double lower, double upper, size_t plotIndex);
  void RaiseCapacity(int32_t clientWidth, int32_t shiftPixels);

  // Sets `current` of the plots that get a value (divided by the plot's divisor when asked to; a
  // divisor of 0 leaves the value as it is) and appends it to their history when store is set,
  // dropping the oldest samples beyond the capacity. Returns how many plots took a value.
  size_t TakeSample(std::span<const double> values, bool store, bool divide);

  // Before a replay: every plot starts again from 0.0 with no previous row.
  void RestartTraces();
  // Replay row j holds sample j of every plot in use, 0.0 where a plot has fewer samples; there is
  // one row per sample of plot 0's history.
  size_t ReplayRowCount() const;
  void ReplayRow(size_t j, std::vector<double>& row) const;

 private:
  std::vector<ChartPlot> m_plots;
  ChartRect m_plotRect;
  int32_t m_historyCapacity = 1024;
  size_t m_plotsInUse = 0;  // the most values a stored sample has carried
};

}  // namespace tfm
