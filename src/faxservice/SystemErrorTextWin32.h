#pragma once
#include <windows.h>

#include <string>

namespace tfm {

// The system's message text for an error code, trimmed at both ends; empty when there is none.
std::string SystemErrorText(DWORD code);

}  // namespace tfm
