#pragma once
// What a screen reader reads of a window through Active Accessibility (its client object).
#include <windows.h>

#include <string>

namespace tfm::test {

struct AccessibleReading {
  std::string name;   // UTF-8; empty when there is none
  std::string value;
  long role = 0;
  bool found = false;  // the system gave an object for the window
};

// Asks from this thread, in a COM apartment of its own for the call, as an in-process reader would.
AccessibleReading ReadAccessible(HWND window);

}  // namespace tfm::test
