#include "ui/StripChartModel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tfm {

Colour DefaultPlotColour(size_t plotIndex) {
  static constexpr std::array<Colour, 15> kColours = {
      Rgb(255, 0, 0),   Rgb(255, 192, 192), Rgb(255, 255, 0),   Rgb(255, 160, 0), Rgb(160, 96, 0),
      Rgb(0, 255, 0),   Rgb(0, 160, 0),     Rgb(0, 0, 255),     Rgb(0, 160, 255), Rgb(0, 255, 255),
      Rgb(0, 160, 160), Rgb(192, 192, 255), Rgb(255, 0, 255),   Rgb(160, 0, 160), Rgb(255, 255, 255)};
  return plotIndex < kColours.size() ? kColours[plotIndex] : Rgb(255, 255, 255);
}

int32_t ValueToRow(double value, double lower, double scale, int32_t plotBottom) {
  double offset = (value - lower) * scale;
  if (std::isnan(offset)) offset = 0.0;
  offset = std::clamp(offset, -kRowLimit, kRowLimit);
  return plotBottom - static_cast<int32_t>(offset);  // the conversion truncates toward zero
}

ChartRect PlotRectForClient(const ChartRect& client, uint32_t dpi) {
  return {ScaleForDpi(20, dpi), ScaleForDpi(10, dpi), client.right - ScaleForDpi(10, dpi),
          client.bottom - ScaleForDpi(25, dpi)};
}

ChartRect ScrolledBand(const ChartRect& plot) {
  return {plot.left, plot.top, plot.right + 1, plot.bottom + 1};
}

ChartRect UncoveredStrip(const ChartRect& plot, int32_t shiftPixels) {
  return {plot.right - shiftPixels + 1, plot.top, plot.right + 1, plot.bottom + 1};
}

SegmentPlan PlanSegment(ChartPlot& plot, const ChartRect& plotRect, const ChartRect& client, int32_t shiftPixels) {
  SegmentPlan s;
  s.y0 = plot.previousY > 0 ? plot.previousY : ValueToRow(plot.previous, plot.lower, plot.scale, plotRect.bottom);
  s.y1 = ValueToRow(plot.current, plot.lower, plot.scale, plotRect.bottom);
  s.x0 = plotRect.right - shiftPixels - 1;
  s.x1 = plotRect.right - 1;
  // The line's last column may reach a little beyond its end point; clear those columns too.
  const bool wide = std::abs(s.x1 - s.x0) > std::abs(int64_t{s.y1} - s.y0);
  const int32_t e = plotRect.right + (wide ? 6 : 5);
  s.clearAbove = std::min(s.y0, s.y1) <= plotRect.top;
  s.above = {s.x0, client.top, e, plotRect.top + 1};
  s.clearBelow = std::max(s.y0, s.y1) >= plotRect.bottom;
  s.below = {s.x0, plotRect.bottom + 1, e, client.bottom + 1};
  plot.previousY = s.y1;
  plot.previous = plot.current;
  return s;
}

std::vector<int32_t> GridRows(const ChartRect& plot, int32_t gridLines) {
  std::vector<int32_t> rows;
  for (int32_t i = 1; i <= gridLines; ++i) rows.push_back(plot.top + plot.Height() * i / (gridLines + 1));
  return rows;
}

LabelLayout LayoutLabels(const ChartRect& client, const ChartRect& plot, int32_t textHeight, int32_t labelHeight,
                         uint32_t dpi) {
  const int32_t gap = ScaleForDpi(4, dpi);
  const int32_t halfText = labelHeight / 2;  // the value labels centre on their rows
  LabelLayout l{};
  l.topX = plot.left - gap;
  l.topY = plot.top - halfText;
  l.middleX = plot.left - ScaleForDpi(2, dpi);
  l.middleY = plot.bottom + (plot.top - plot.bottom) / 2 - halfText;
  l.bottomX = plot.left - gap;
  l.bottomBaseline = plot.bottom;
  l.xTitleX = (plot.left + plot.right) / 2;
  l.xTitleY = plot.bottom + gap;
  l.yTitleX = (client.left + plot.left + gap) / 2 - textHeight / 2;
  l.yTitleBaseline = (plot.top + plot.bottom) / 2 - textHeight / 2;
  return l;
}

std::string FormatLimit(double value, int32_t decimals) {
  decimals = std::clamp(decimals, 0, 17);
  const int length = std::snprintf(nullptr, 0, "%.*lf", decimals, value);
  if (length <= 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), "%.*lf", decimals, value);
  text.resize(static_cast<size_t>(length));
  return text;
}

std::vector<AxisMark> WholeAxisMarks(double lower, double upper, const ChartRect& plot, int32_t minSpacing) {
  std::vector<AxisMark> marks;
  const double range = upper - lower;
  constexpr double kLargestStep = 1e9;
  if (!std::isfinite(range) || range <= 0 || plot.Height() <= 0) return marks;
  const double scale = plot.Height() / range;
  double step = 1;
  for (int i = 0; step * scale < minSpacing && step < kLargestStep; ++i) step *= i % 3 == 1 ? 2.5 : 2;  // 1 2 5 10 ...
  for (double value = std::ceil(lower / step) * step; value <= upper; value += step) {
    marks.push_back({ValueToRow(value, lower, scale, plot.bottom), std::to_string(std::llround(value))});
  }
  return marks;
}

int32_t RaisedCapacity(int32_t capacity, int32_t clientWidth, int32_t shiftPixels) {
  const int32_t columns = clientWidth / std::max(shiftPixels, 1);
  return std::max(capacity, columns + 10);
}

StripChartModel::StripChartModel(size_t plotCount) {
  m_plots.reserve(plotCount);
  for (size_t i = 0; i < plotCount; ++i) m_plots.emplace_back(DefaultPlotColour(i));
}

void StripChartModel::SetPlotRect(const ChartRect& plot) {
  m_plotRect = plot;
  for (ChartPlot& p : m_plots) p.scale = plot.Height() / p.range;
}

bool StripChartModel::SetRange(double lower, double upper, size_t plotIndex) {
  if (plotIndex >= m_plots.size()) return false;
  ChartPlot& p = m_plots[plotIndex];
  p.lower = lower;
  p.upper = upper;
  p.range = upper - lower;
  p.scale = m_plotRect.Height() / p.range;
  return true;
}

void StripChartModel::RaiseCapacity(int32_t clientWidth, int32_t shiftPixels) {
  m_historyCapacity = RaisedCapacity(m_historyCapacity, clientWidth, shiftPixels);
}

size_t StripChartModel::TakeSample(std::span<const double> values, bool store, bool divide) {
  const size_t count = std::min(values.size(), m_plots.size());
  for (size_t i = 0; i < count; ++i) {
    ChartPlot& p = m_plots[i];
    p.current = divide && p.divisor != 0 ? values[i] / p.divisor : values[i];
    if (!store) continue;
    p.history.push_back(p.current);
    while (p.history.size() > static_cast<size_t>(m_historyCapacity)) p.history.pop_front();
  }
  if (store) m_plotsInUse = std::max(m_plotsInUse, count);
  return count;
}

void StripChartModel::RestartTraces() {
  for (ChartPlot& p : m_plots) {
    p.previous = 0.0;
    p.previousY = -1;
  }
}

size_t StripChartModel::ReplayRowCount() const {
  return m_plotsInUse == 0 ? 0 : m_plots[0].history.size();
}

void StripChartModel::ReplayRow(size_t j, std::vector<double>& row) const {
  row.assign(m_plotsInUse, 0.0);
  for (size_t i = 0; i < m_plotsInUse; ++i) {
    if (j < m_plots[i].history.size()) row[i] = m_plots[i].history[j];
  }
}

}  // namespace tfm
