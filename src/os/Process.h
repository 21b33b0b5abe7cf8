#pragma once
// Facts about this process that several parts of the program need, each found in one place.
#include <cstdint>
#include <string>

namespace os {

// The full path of the running exe; empty if the system cannot tell it.
std::string ExecutablePath();
// The folder of the running exe, without a trailing separator; empty if unknown.
std::string ExecutableDirectory();

// The system's message text for an error code (language neutral, the user's default sublanguage),
// trimmed of white space at both ends; empty when the system has no text for the code.
std::string SystemErrorText(uint32_t code);

// Takes the current directory out of the DLL search, so that a library planted there is never loaded:
// only the exe's folder and the system folders are searched. Called first thing at start-up.
void HardenDllSearch();

}  // namespace os
