#pragma once
// Message pumping and window geometry for tests that drive windows in process.
#include <windows.h>

#include <functional>

namespace tfm::test {

// Dispatches every message already queued for this thread.
void PumpUntilIdle();
// Pumps messages, waking for each new one, until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// A window's rectangle in the client coordinates of another.
RECT RectIn(HWND window, HWND relativeTo);

}  // namespace tfm::test
