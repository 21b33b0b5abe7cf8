#pragma once
// The text of windows and message boxes, in the program's UTF-8: the conversion to and from the
// system's UTF-16 is made here for every window that shows or takes a text.
#include <windows.h>

#include <string>
#include <string_view>

namespace fw {

// What the window (an edit box, say) holds.
std::string WindowText(HWND window);

// A message box titled with the program's name; returns the button pressed.
int ShowMessage(HWND owner, std::string_view text, UINT style);

}  // namespace fw
