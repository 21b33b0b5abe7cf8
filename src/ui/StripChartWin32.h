#pragma once
// CStripChart: a child window that draws value traces scrolling from right to left, like a
// strip-chart recorder. Two off-screen layers hold the picture: the background (frame, dotted grid,
// labels, titles) and the traces, which a paint lays over it. A new sample scrolls the trace layer's
// plot band one step left and draws only the newest segment; after a change of size or settings the
// traces are drawn again from the history, 200 ms after the last such change. Screen readers find the
// chart by its window text and read the value its owner gives it; it shows the keyboard focus.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "framework/AccessibleValue.h"
#include "framework/Window.h"
#include "os/DeviceContext.h"
#include "ui/StripChartModel.h"

namespace tfm {

class CStripChart : public fw::Window {
 public:
  static constexpr UINT_PTR kReplayTimerId = 1612;
  static constexpr UINT kReplayDelayMs = 200;

  // workersRunning: the replay of the history is scheduled only while it is set.
  CStripChart(size_t plotCount, const std::atomic<int32_t>& workersRunning);
  ~CStripChart() override;

  // Creates the child window with a sunken edge in the given rectangle of the parent.
  bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);

  void SetRange(double lower, double upper, size_t plotIndex);
  void SetXUnits(const char* title);
  // Empty bottom or top texts show the plot 0 limits instead.
  void SetYUnits(const char* title, const char* bottomText, const char* topText);
  // The vertical axis counts whole units: labels and grid lines at whole steps (WholeAxisMarks) in place
  // of the limits, their middle and the evenly spaced grid.
  void SetWholeUnits(bool whole);
  void SetGridColor(COLORREF colour);
  void SetBackgroundColor(COLORREF colour);
  // Takes effect with the next segment; nothing is redrawn.
  void SetPlotColor(COLORREF colour, size_t plotIndex);
  // One value per plot, in plot order; plots past the end of values take no sample.
  void AppendPoints(std::span<const double> values, bool invalidate = true, bool store = true,
                    bool divide = true);
  void RedrawBackground(bool clearTraces);
  // What a screen reader is told as the chart's value (UTF-8); its name is the window text.
  void SetAccessibleValue(const std::string& value);

  const StripChartModel& model() const { return m_model; }
  UINT dpi() const { return m_dpi; }
  const ChartRect& plotRect() const { return m_model.plotRect(); }
  // The layers, for inspection; null until the first background redraw.
  HDC backgroundLayer() const { return m_background ? m_background->dc() : nullptr; }
  HDC traceLayer() const { return m_traces ? m_traces->dc() : nullptr; }
  bool replayPending() const { return m_replayTimer != 0; }

 private:
  static const fw::MessageEntry<CStripChart> kMessageMap[];
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnWindowGone() override { m_replayTimer = 0; }
  void OnSize(UINT type, int cx, int cy);
  void Resize(SIZE size);
  void OnPaint();
  void OnTimer(UINT_PTR id);
  void OnDpiChanged(UINT dpi);
  LRESULT OnGetObject(WPARAM flags, LPARAM objectId);
  void OnFocusChange(HWND) { InvalidateRect(Hwnd(), nullptr, FALSE); }
  // A pen for traces, the frame and the grid: whole pixels wide, wider from 200 % on.
  os::UniquePen CreateTracePen(COLORREF colour) const;
  void Replay();
  void DrawSegments(size_t plotCount);
  void DrawFrameAndGrid(HDC dc) const;
  void DrawLabels(HDC dc) const;
  std::vector<AxisMark> WholeMarks() const;
  void Fill(HDC dc, const ChartRect& rect) const;

  const std::atomic<int32_t>& m_workersRunning;
  StripChartModel m_model;
  std::vector<os::UniquePen> m_pens;  // one per plot, in its colour
  int32_t m_shiftPixels = 1;
  int32_t m_gridLines = 5;
  int32_t m_decimals = 1;
  bool m_wholeUnits = false;
  std::string m_xTitle = "Samples";
  std::string m_yTitle = "Y units";
  std::string m_bottomText;
  std::string m_topText;
  COLORREF m_backgroundColour = RGB(0, 0, 0);
  COLORREF m_gridColour = RGB(0, 255, 255);
  os::UniqueBrush m_backgroundBrush;
  ChartRect m_clientRect;
  std::unique_ptr<os::OffscreenLayer> m_background;
  std::unique_ptr<os::OffscreenLayer> m_traces;
  bool m_replayDone = true;
  UINT_PTR m_replayTimer = 0;
  SIZE m_lastSize{0, 0};
  UINT m_dpi = kDesignDpi;
  int32_t m_labelHeight = kFallbackLabelHeight;  // of the labels' font, in pixels
  std::vector<double> m_replayRow;
  std::shared_ptr<fw::AccessibleTexts> m_accessible = std::make_shared<fw::AccessibleTexts>();
};

}  // namespace tfm
