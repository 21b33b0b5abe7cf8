#pragma once
// The program's colour theme: two tint colours from which every colour of the themed windows is
// derived (dialog and page faces, the tab strip, group box frames, tree backgrounds). The window that
// owns a theme hands it to the dialogs, the tab-page container and the group boxes it holds; those
// given none take the system colours, and so do all while a high-contrast theme is on.
#include <windows.h>

#include <array>

#include "os/Owned.h"

namespace fw {

enum class ThemeColor {
  DialogFace,       // top-level dialogs
  PageFace,         // child dialogs (pages) and the selected tab
  TabStrip,         // the band behind the tabs
  TabFace,          // tabs that are not selected
  TabText,
  TabSelectedText,
  Accent,           // the selected tab's bar, group box frames, tree lines
  FrameText,        // group box captions
  ListBackground,   // tree views
  Text,
  Count
};

// Mixes a into b: weight 0 gives a, 255 gives b.
COLORREF BlendColor(COLORREF a, COLORREF b, int weight);

class CColorizedTheme {
 public:
  CColorizedTheme();

  void SetTintColors(COLORREF first, COLORREF second);
  COLORREF FirstTint() const { return m_first; }
  COLORREF SecondTint() const { return m_second; }
  // Derives every theme colour from the two tints, or takes the system's under high contrast, and makes
  // the brushes. Called again when the system's colours or theme change.
  void RecalcColors();
  bool HighContrast() const { return m_highContrast; }

  COLORREF Color(ThemeColor which) const { return m_colors[static_cast<size_t>(which)]; }
  HBRUSH Brush(ThemeColor which) const { return m_brushes[static_cast<size_t>(which)].get(); }

  // The answer to WM_CTLCOLORDLG, WM_CTLCOLORSTATIC and WM_CTLCOLORBTN that a dialog received: the
  // face of that dialog (a page when it is a child window), with the text colour set on the DC. The
  // theme leaves the other controls (edits, list boxes, scroll bars) to the system.
  HBRUSH CtlColor(HDC dc, HWND dialog) const;

 private:
  void DeriveFromTints();

  COLORREF m_first;
  COLORREF m_second;
  bool m_highContrast = false;
  std::array<COLORREF, static_cast<size_t>(ThemeColor::Count)> m_colors{};
  std::array<os::UniqueBrush, static_cast<size_t>(ThemeColor::Count)> m_brushes;
};

// The theme's colour, or the system colour that stands for it when theme is null.
COLORREF ThemeOrSystemColor(const CColorizedTheme* theme, ThemeColor which);
HBRUSH ThemeOrSystemBrush(const CColorizedTheme* theme, ThemeColor which);

}  // namespace fw
