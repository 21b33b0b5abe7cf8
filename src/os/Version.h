#pragma once
// The running system's version: the one version query of the program. The application reads it once
// at start-up and hands each part what it needs.
#include <cstdint>

#include "common/OsVersion.h"

namespace os {

// The platform's version information (platform id, major, minor, build); not valid when the query fails.
tfm::OsVersionInfo ReadOsVersionInfo();

// "CSDVersion" under HKLM\System\CurrentControlSet\Control\Windows, read into 4 bytes; 0 when missing.
uint32_t ReadServicePackValue();

}  // namespace os
