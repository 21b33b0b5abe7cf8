#include "ui/StripChartWin32.h"

#include <oleacc.h>

#include <algorithm>

#include "common/DisplayScale.h"
#include "framework/Dpi.h"
#include "os/Text.h"

namespace tfm {
namespace {

constexpr wchar_t kClassName[] = L"TfmStripChart";

RECT ToRect(const ChartRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// The labels are written in the user's message font, at the chart's DPI; where the system cannot tell
// that font, in the system's default face at a size designed for 96 DPI.
os::UniqueFont CreateLabelFont(int escapement, UINT dpi) {
  LOGFONTW font{};
  if (!fw::MessageFontAt(dpi, font)) font.lfHeight = -ScaleForDpi(kFallbackLabelHeight, dpi);
  font.lfEscapement = escapement;
  font.lfOrientation = escapement;
  return os::UniqueFont(CreateFontIndirectW(&font));
}

int32_t LabelHeight(HDC dc, UINT dpi) {
  const os::UniqueFont font = CreateLabelFont(0, dpi);
  const os::ScopedSelect select(dc, font.get());
  TEXTMETRICW metrics{};
  return GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : ScaleForDpi(kFallbackLabelHeight, dpi);
}

void TextAt(HDC dc, int x, int y, UINT align, const std::string& text) {
  SetTextAlign(dc, align);
  const std::wstring wide = os::Wide(text);
  TextOutW(dc, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

}  // namespace

CStripChart::CStripChart(size_t plotCount, const std::atomic<int32_t>& workersRunning)
    : m_workersRunning(workersRunning),
      m_model(std::max<size_t>(plotCount, 1)),  // the labels show plot 0's limits
      m_backgroundBrush(CreateSolidBrush(m_backgroundColour)) {
  for (const ChartPlot& plot : m_model.plots()) m_pens.push_back(CreateTracePen(plot.colour));
}

os::UniquePen CStripChart::CreateTracePen(COLORREF colour) const {
  return os::UniquePen(CreatePen(PS_SOLID, LineWidthForDpi(m_dpi), colour));
}

CStripChart::~CStripChart() { Destroy(); }

bool CStripChart::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
  WNDCLASSEXW wc{};
  wc.style = CS_HREDRAW | CS_VREDRAW;  // no cursor, background brush or icon: the paint covers everything
  wc.lpszClassName = kClassName;
  if (Hwnd() || !RegisterClassOnce(wc)) return false;
  OnDpiChanged(fw::WindowDpi(parent));
  if (!CreateEx(WS_EX_CLIENTEDGE, kClassName, L"", style, rect.left, rect.top, rect.right - rect.left,
                rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)))) {
    return false;
  }
  RedrawBackground(true);
  return true;
}

const fw::MessageEntry<CStripChart> CStripChart::kMessageMap[] = {
    fw::OnSize<&CStripChart::OnSize>(fw::Platform::Before),
    fw::OnPaint<&CStripChart::OnPaint>(),
    fw::OnTimer<&CStripChart::OnTimer>(fw::Platform::After),  // every timer goes on to the platform
    fw::OnDpiChangedAfterParent<&CStripChart::OnDpiChanged>(),
    fw::OnFocus<&CStripChart::OnFocusChange>(WM_SETFOCUS, fw::Platform::After),
    fw::OnFocus<&CStripChart::OnFocusChange>(WM_KILLFOCUS, fw::Platform::After),
};

bool CStripChart::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_GETOBJECT) {  // its object id is a signed value that no cracker of the map takes
    result = OnGetObject(wParam, lParam);
    return true;
  }
  return Dispatch<CStripChart>(kMessageMap, message, wParam, lParam, result);
}

void CStripChart::SetAccessibleValue(const std::string& value) { m_accessible->value = value; }

LRESULT CStripChart::OnGetObject(WPARAM flags, LPARAM objectId) {
  wchar_t name[128] = L"";
  GetWindowTextW(Hwnd(), name, static_cast<int>(std::size(name)));
  m_accessible->name = os::Utf8(name);
  m_accessible->role = ROLE_SYSTEM_CHART;
  return fw::AnswerGetObject(Hwnd(), flags, objectId, m_accessible);
}

void CStripChart::SetRange(double lower, double upper, size_t plotIndex) {
  if (m_model.SetRange(lower, upper, plotIndex)) RedrawBackground(true);
}

void CStripChart::SetXUnits(const char* title) {
  m_xTitle = title ? title : "";
  RedrawBackground(false);
}

void CStripChart::SetYUnits(const char* title, const char* bottomText, const char* topText) {
  m_yTitle = title ? title : "";
  m_bottomText = bottomText ? bottomText : "";
  m_topText = topText ? topText : "";
  RedrawBackground(true);
}

void CStripChart::SetWholeUnits(bool whole) {
  m_wholeUnits = whole;
  RedrawBackground(true);
}

// Labels a line and a half of their text apart.
std::vector<AxisMark> CStripChart::WholeMarks() const {
  const ChartPlot& plot0 = m_model.plots()[0];
  return WholeAxisMarks(plot0.lower, plot0.upper, m_model.plotRect(), m_labelHeight * 3 / 2);
}

void CStripChart::SetGridColor(COLORREF colour) {
  m_gridColour = colour;
  RedrawBackground(true);
}

void CStripChart::SetBackgroundColor(COLORREF colour) {
  m_backgroundColour = colour;
  m_backgroundBrush.reset(CreateSolidBrush(colour));
  RedrawBackground(true);
}

void CStripChart::SetPlotColor(COLORREF colour, size_t plotIndex) {
  if (plotIndex >= m_pens.size()) return;
  m_model.plots()[plotIndex].colour = colour;
  m_pens[plotIndex] = CreateTracePen(colour);
}

// Margins, fonts and lines follow the DPI; the picture is laid out and drawn again at the current size.
void CStripChart::OnDpiChanged(UINT dpi) {
  m_dpi = dpi;
  for (size_t i = 0; i < m_pens.size(); ++i) m_pens[i] = CreateTracePen(m_model.plots()[i].colour);
  if (Hwnd() && m_lastSize.cx > 0) Resize(m_lastSize);
}

void CStripChart::AppendPoints(std::span<const double> values, bool invalidate, bool store, bool divide) {
  DrawSegments(m_model.TakeSample(values, store, divide));
  if (invalidate && m_replayDone && Hwnd()) InvalidateRect(Hwnd(), nullptr, FALSE);
}

void CStripChart::Fill(HDC dc, const ChartRect& rect) const {
  const RECT r = ToRect(rect);
  FillRect(dc, &r, m_backgroundBrush.get());
}

void CStripChart::DrawSegments(size_t plotCount) {
  if (!m_traces) return;
  const HDC dc = m_traces->dc();
  const ChartRect& plot = m_model.plotRect();
  const RECT band = ToRect(ScrolledBand(plot));
  ScrollDC(dc, -m_shiftPixels, 0, &band, &band, nullptr, nullptr);
  Fill(dc, UncoveredStrip(plot, m_shiftPixels));
  for (size_t i = 0; i < plotCount; ++i) {
    ChartPlot& p = m_model.plots()[i];
    const SegmentPlan s = PlanSegment(p, plot, m_clientRect, m_shiftPixels);
    {
      const os::ScopedSelect pen(dc, m_pens[i].get());
      MoveToEx(dc, s.x0, s.y0, nullptr);
      LineTo(dc, s.x1, s.y1);
    }
    SetPixel(dc, s.x1, s.y1, p.colour);  // LineTo stops short of its end point
    if (s.clearAbove) Fill(dc, s.above);
    if (s.clearBelow) Fill(dc, s.below);
  }
}

void CStripChart::RedrawBackground(bool clearTraces) {
  if (!Hwnd()) return;
  const os::WindowDc windowDC(Hwnd());
  const int width = m_clientRect.Width();
  const int height = m_clientRect.Height();
  if (!m_background) m_background = std::make_unique<os::OffscreenLayer>(windowDC.get(), width, height);
  const HDC dc = m_background->dc();
  Fill(dc, m_clientRect);
  m_model.SetPlotLeft(m_clientRect.left + ScaleForDpi(kPlotLeftOffset, m_dpi));
  m_labelHeight = LabelHeight(dc, m_dpi);  // the user's text size may have changed
  DrawFrameAndGrid(dc);
  DrawLabels(dc);

  if (!m_traces) {
    m_traces = std::make_unique<os::OffscreenLayer>(windowDC.get(), width, height);
    clearTraces = true;  // a new bitmap holds no defined picture yet
  }
  if (clearTraces) Fill(m_traces->dc(), m_clientRect);

  m_model.RaiseCapacity(width, m_shiftPixels);
  m_replayDone = false;
  if (m_workersRunning.load() != 0) {
    if (m_replayTimer) KillTimer(Hwnd(), m_replayTimer);
    m_replayTimer = SetTimer(Hwnd(), kReplayTimerId, kReplayDelayMs, nullptr);
  }
  InvalidateRect(Hwnd(), nullptr, TRUE);
}

void CStripChart::DrawFrameAndGrid(HDC dc) const {
  const ChartRect& p = m_model.plotRect();
  {
    const os::UniquePen pen = CreateTracePen(m_gridColour);
    const os::ScopedSelect select(dc, pen.get());
    MoveToEx(dc, p.left, p.top, nullptr);
    LineTo(dc, p.right + 1, p.top);
    LineTo(dc, p.right + 1, p.bottom + 1);
    LineTo(dc, p.left, p.bottom + 1);
    LineTo(dc, p.left, p.top);
  }
  std::vector<int32_t> rows = GridRows(p, m_gridLines);
  if (m_wholeUnits) {
    rows.clear();
    for (const AxisMark& mark : WholeMarks()) {
      if (mark.row > p.top && mark.row < p.bottom) rows.push_back(mark.row);
    }
  }
  for (const int32_t y : rows) {
    for (int32_t x = p.left; x < p.right; x += ScaleForDpi(kGridDotSpacing, m_dpi)) SetPixel(dc, x, y, m_gridColour);
  }
}

void CStripChart::DrawLabels(HDC dc) const {
  const ChartRect& p = m_model.plotRect();
  const ChartPlot& plot0 = m_model.plots()[0];
  const os::UniqueFont font = CreateLabelFont(0, m_dpi);
  const os::UniqueFont rotated = CreateLabelFont(900, m_dpi);  // bottom-to-top
  SetTextColor(dc, m_gridColour);
  SetBkColor(dc, m_backgroundColour);

  const os::ScopedSelect selectRotated(dc, rotated.get());
  SIZE box{};
  const std::wstring yTitle = os::Wide(m_yTitle);
  GetTextExtentPoint32W(dc, yTitle.c_str(), static_cast<int>(yTitle.size()), &box);
  const LabelLayout l = LayoutLabels(m_clientRect, p, box.cy, m_labelHeight, m_dpi);
  TextAt(dc, l.yTitleX, l.yTitleBaseline, TA_CENTER | TA_BASELINE, m_yTitle);

  const os::ScopedSelect selectFont(dc, font.get());
  TextAt(dc, l.xTitleX, l.xTitleY, TA_CENTER | TA_TOP, m_xTitle);
  if (m_wholeUnits) {
    const int32_t aboveRow = l.topY - p.top;  // the labels centre on their rows, as the top one does
    for (const AxisMark& mark : WholeMarks()) TextAt(dc, l.topX, mark.row + aboveRow, TA_RIGHT | TA_TOP, mark.text);
    return;
  }
  TextAt(dc, l.topX, l.topY, TA_RIGHT | TA_TOP,
         m_topText.empty() ? FormatLimit(plot0.upper, m_decimals) : m_topText);
  TextAt(dc, l.middleX, l.middleY, TA_RIGHT | TA_TOP, FormatLimit((plot0.lower + plot0.upper) / 2, m_decimals));
  TextAt(dc, l.bottomX, l.bottomBaseline, TA_RIGHT | TA_BASELINE,
         m_bottomText.empty() ? FormatLimit(plot0.lower, m_decimals) : m_bottomText);
}

void CStripChart::OnSize(UINT, int cx, int cy) {
  if ((cx == 0 && cy == 0) || (cx == m_lastSize.cx && cy == m_lastSize.cy)) return;
  Resize({cx, cy});
}

void CStripChart::Resize(SIZE size) {
  m_lastSize = size;
  RECT client{};
  GetClientRect(Hwnd(), &client);
  m_clientRect = {client.left, client.top, client.right, client.bottom};
  m_model.SetPlotRect(PlotRectForClient(m_clientRect, m_dpi));
  if (m_background && m_traces) {
    const os::WindowDc windowDC(Hwnd());
    m_background->Resize(windowDC.get(), size.cx, size.cy);
    m_traces->Resize(windowDC.get(), size.cx, size.cy);
  }
  RedrawBackground(true);
}

void CStripChart::OnPaint() {
  const os::PaintScope paint(Hwnd());
  const HDC dc = paint.dc();
  if (m_background && m_traces) {
    const int width = m_clientRect.Width();
    const int height = m_clientRect.Height();
    os::OffscreenLayer composed(dc, width, height);
    BitBlt(composed.dc(), 0, 0, width, height, m_background->dc(), 0, 0, SRCCOPY);
    // The traces go over the background wherever they drew: on a dark background as an OR of the two
    // would put them, and on a light one (a high-contrast theme's window colour) as well.
    TransparentBlt(composed.dc(), 0, 0, width, height, m_traces->dc(), 0, 0, width, height, m_backgroundColour);
    if (GetFocus() == Hwnd()) {
      RECT focus{0, 0, width, height};
      InflateRect(&focus, -1, -1);
      DrawFocusRect(composed.dc(), &focus);
    }
    BitBlt(dc, 0, 0, width, height, composed.dc(), 0, 0, SRCCOPY);
  }
}

void CStripChart::OnTimer(UINT_PTR id) {
  if (id != m_replayTimer || m_replayTimer == 0) return;
  KillTimer(Hwnd(), m_replayTimer);
  m_replayTimer = 0;
  m_replayDone = true;
  Replay();
  InvalidateRect(Hwnd(), nullptr, FALSE);  // show the replayed traces without waiting for a sample
}

void CStripChart::Replay() {
  m_model.RestartTraces();
  const size_t rows = m_model.ReplayRowCount();
  for (size_t j = 0; j < rows; ++j) {
    m_model.ReplayRow(j, m_replayRow);
    AppendPoints(m_replayRow, false, false, false);
  }
}

}  // namespace tfm
