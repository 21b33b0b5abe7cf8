#pragma once
// What a screen reader asks a custom-drawn control for, through Active Accessibility: the system's
// standard object for the window, with the control's own name, role and value. The texts are shared
// with the control, so that an object a reader holds on to tells the value of the moment.
#include <windows.h>

#include <memory>
#include <string>

namespace fw {

struct AccessibleTexts {
  std::string name;   // UTF-8
  std::string value;  // UTF-8
  LONG role = 0;      // ROLE_SYSTEM_..., 0 for the standard object's own
};

// The answer to WM_GETOBJECT: the object for OBJID_CLIENT, the default window procedure's otherwise.
LRESULT AnswerGetObject(HWND window, WPARAM flags, LPARAM objectId,
                        const std::shared_ptr<const AccessibleTexts>& texts);

}  // namespace fw
