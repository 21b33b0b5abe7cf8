#pragma once
// The program's colour theme: two tint colours from which every colour of the themed windows is
// derived (dialog and page faces, the tab strip, group box frames, tree backgrounds). One theme is
// installed framework-wide; dialogs, the tab-page container and the group box ask it for their
// colours and fall back to the system colours while none is installed.
#include <windows.h>

#include <array>
#include <memory>

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
  // Derives every theme colour from the two tints and makes the brushes.
  void RecalcColors();

  COLORREF Color(ThemeColor which) const { return m_colors[static_cast<size_t>(which)]; }
  HBRUSH Brush(ThemeColor which) const { return m_brushes[static_cast<size_t>(which)].get(); }

  // The answer to a WM_CTLCOLOR* message that a dialog received: the face of that dialog (a page
  // when it is a child window), with the text colour set on the DC. Null for the messages the theme
  // leaves to the system (edits, list boxes, scroll bars).
  HBRUSH CtlColor(UINT message, HDC dc, HWND dialog) const;

 private:
  COLORREF m_first;
  COLORREF m_second;
  std::array<COLORREF, static_cast<size_t>(ThemeColor::Count)> m_colors{};
  std::array<os::UniqueBrush, static_cast<size_t>(ThemeColor::Count)> m_brushes;
};

// Replaces the framework-wide theme; it stays installed until replaced.
void InstallTheme(std::unique_ptr<CColorizedTheme> theme);
// The installed theme, or null.
const CColorizedTheme* CurrentTheme();

// The colour of the installed theme, or the system colour that stands for it without a theme.
COLORREF ThemeOrSystemColor(ThemeColor which);
HBRUSH ThemeOrSystemBrush(ThemeColor which);

}  // namespace fw
