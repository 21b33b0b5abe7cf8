#include "framework/ColorizedTheme.h"

#include "framework/HighContrast.h"

namespace fw {
namespace {

int Mix(int a, int b, int weight) { return a + (b - a) * weight / 255; }

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

int SystemIndex(ThemeColor which) {
  switch (which) {
    case ThemeColor::TabText:
    case ThemeColor::TabSelectedText:
    case ThemeColor::FrameText:
    case ThemeColor::Text: return COLOR_BTNTEXT;
    case ThemeColor::Accent: return COLOR_BTNSHADOW;
    case ThemeColor::ListBackground: return COLOR_WINDOW;
    default: return COLOR_BTNFACE;
  }
}

}  // namespace

COLORREF BlendColor(COLORREF a, COLORREF b, int weight) {
  return RGB(Mix(GetRValue(a), GetRValue(b), weight), Mix(GetGValue(a), GetGValue(b), weight),
             Mix(GetBValue(a), GetBValue(b), weight));
}

CColorizedTheme::CColorizedTheme() : m_first(GetSysColor(COLOR_BTNFACE)), m_second(GetSysColor(COLOR_HIGHLIGHT)) {
  RecalcColors();
}

void CColorizedTheme::SetTintColors(COLORREF first, COLORREF second) {
  m_first = first;
  m_second = second;
}

void CColorizedTheme::RecalcColors() {
  m_highContrast = HighContrastOn();
  if (m_highContrast) {
    // What marks the selected tab and the frames takes the theme's selection colour, which it sets apart
    // from both faces and texts.
    for (size_t i = 0; i < m_colors.size(); ++i) {
      const auto which = static_cast<ThemeColor>(i);
      m_colors[i] = GetSysColor(which == ThemeColor::Accent ? COLOR_HIGHLIGHT : SystemIndex(which));
    }
  } else {
    DeriveFromTints();
  }
  for (size_t i = 0; i < m_colors.size(); ++i) m_brushes[i].reset(CreateSolidBrush(m_colors[i]));
}

void CColorizedTheme::DeriveFromTints() {
  auto set = [this](ThemeColor which, COLORREF colour) { m_colors[static_cast<size_t>(which)] = colour; };
  // The first tint carries the surfaces, lightened so that black text stays easy to read on them;
  // the second marks what belongs together (selected tab, frames) and colours captions.
  set(ThemeColor::DialogFace, BlendColor(m_first, kWhite, 110));
  set(ThemeColor::PageFace, BlendColor(m_first, kWhite, 190));
  set(ThemeColor::TabStrip, m_first);
  set(ThemeColor::TabFace, BlendColor(m_first, kWhite, 70));
  set(ThemeColor::TabText, BlendColor(m_first, kBlack, 200));
  set(ThemeColor::TabSelectedText, BlendColor(m_second, kBlack, 110));
  set(ThemeColor::Accent, m_second);
  set(ThemeColor::FrameText, BlendColor(m_second, kBlack, 90));
  set(ThemeColor::ListBackground, BlendColor(m_first, kWhite, 235));
  set(ThemeColor::Text, BlendColor(m_first, kBlack, 230));
}

HBRUSH CColorizedTheme::CtlColor(HDC dc, HWND dialog) const {
  const bool page = (GetWindowLongW(dialog, GWL_STYLE) & WS_CHILD) != 0;
  const ThemeColor face = page ? ThemeColor::PageFace : ThemeColor::DialogFace;
  SetBkColor(dc, Color(face));
  SetTextColor(dc, Color(ThemeColor::Text));
  return Brush(face);
}

COLORREF ThemeOrSystemColor(const CColorizedTheme* theme, ThemeColor which) {
  return theme ? theme->Color(which) : GetSysColor(SystemIndex(which));
}

HBRUSH ThemeOrSystemBrush(const CColorizedTheme* theme, ThemeColor which) {
  return theme ? theme->Brush(which) : GetSysColorBrush(SystemIndex(which));
}

}  // namespace fw
