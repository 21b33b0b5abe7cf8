#pragma once
// What a screen reader reads of a window through Active Accessibility (its client object), and the
// user's high-contrast setting switched on for a while.
#include <windows.h>

#include <optional>
#include <string>

namespace tfm::test {

struct AccessibleReading {
  std::string name;   // UTF-8; empty when there is none
  std::string value;
  long role = 0;
  bool found = false;  // the system gave an object for the window
  long error = 0;      // else the HRESULT it answered
};

// Asks from this thread, in a COM apartment of its own for the call, as an in-process reader would.
AccessibleReading ReadAccessible(HWND window);

// Turns high contrast on in the user's profile, where the program reads it when the system's own
// answer says off (as Wine's always does), and puts the setting back as it was when it goes. The
// windows under test are told with WM_SETTINGCHANGE or WM_SYSCOLORCHANGE.
class HighContrastInProfile {
 public:
  HighContrastInProfile();
  ~HighContrastInProfile();
  HighContrastInProfile(const HighContrastInProfile&) = delete;
  HighContrastInProfile& operator=(const HighContrastInProfile&) = delete;

 private:
  std::optional<std::wstring> m_had;
};

}  // namespace tfm::test
