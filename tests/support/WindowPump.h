#pragma once
// Message pumping for tests that drive windows in process.
#include <windows.h>

#include <functional>

namespace tfm::test {

// Dispatches every message already queued for this thread.
void PumpUntilIdle();
// Pumps messages, waking for each new one, until done() holds or the time is up; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

}  // namespace tfm::test
