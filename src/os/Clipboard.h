#pragma once
// The clipboard as a place to put text for other programs.
#include <windows.h>

#include <string_view>

namespace os {

// Replaces the clipboard's contents with UTF-8 text, put there as CF_UNICODETEXT; owner is the window that
// empties it. False when the clipboard is held by another program or the memory cannot be had.
bool PutClipboardText(HWND owner, std::string_view text);

}  // namespace os
