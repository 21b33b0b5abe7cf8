#pragma once
#include <cstdint>

#include "app/OsVersion.h"

namespace tfm {

// The platform's version information (platform id, major, minor, build).
OsVersionInfo ReadOsVersionInfo();

// "CSDVersion" under HKLM\System\CurrentControlSet\Control\Windows, read into 4 bytes; 0 when missing.
uint32_t ReadServicePackValue();

}  // namespace tfm
