#pragma once
#include <windows.h>

#include <string>

namespace fw {

// The system's message text for an error code (language neutral, the user's default sublanguage),
// trimmed of white space at both ends; empty when the system has no text for the code.
std::string SystemErrorText(DWORD code);

}  // namespace fw
