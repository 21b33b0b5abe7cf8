#pragma once
// The dots per inch a window is drawn at, and what depends on it. Windows 10 (1607) and later tell each
// window its monitor's DPI; older systems have one DPI for the whole session, which is used instead.
// The newer functions are looked up at run time, so the program still starts on Windows 7.
#include <windows.h>

#include "os/Owned.h"

namespace fw {

// WM_DPICHANGED_AFTERPARENT, which the headers declare only for Windows 10 targets.
inline constexpr UINT kDpiChangedAfterParent = 0x02E3;

// The window's DPI; the system's (the screen's LOGPIXELSY) where the system cannot tell it per window.
UINT WindowDpi(HWND hwnd);
// A system metric (SM_CXSMICON, ...) at a DPI; at the system DPI where no per-DPI metric is offered.
int SystemMetricForDpi(int index, UINT dpi);

// The system's message font (the user's choice of face and text size) at a DPI; false when the system
// cannot tell it.
bool MessageFontAt(UINT dpi, LOGFONTW& font);
// That font, made; null when the system cannot tell it.
os::UniqueFont CreateMessageFont(UINT dpi);

// Passes a new DPI on to every window below parent (kDpiChangedAfterParent with the DPI in WPARAM).
void TellDescendantsDpi(HWND parent, UINT dpi);

// The icon resource's image for a size metric pair (SM_CXICON/SM_CYICON or SM_CXSMICON/SM_CYSMICON)
// at a DPI: the image drawn for that size, not one scaled down from a larger one.
os::UniqueIcon LoadIconForDpi(UINT iconId, int widthMetric, int heightMetric, UINT dpi);
// The icon resource's image at the small-icon size of the system DPI, shared (never destroyed), as the
// notification area shows it.
HICON LoadSharedSmallIcon(UINT iconId);

}  // namespace fw
