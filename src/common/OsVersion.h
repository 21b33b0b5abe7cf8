#pragma once
#include <cstdint>

namespace tfm {

// The platform's version information, as far as the classification needs it.
struct OsVersionInfo {
  bool valid = false;  // false when the version query failed
  uint32_t platformId = 0;  // 1 Windows 95 family, 2 NT family
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
};

// Reads the service pack value ("CSDVersion"); only its low 16 bits count, a missing value reads 0.
using ServicePackReader = uint32_t (*)();

// Classifies the Windows version: 1..6 Windows 95 family, 101..109 NT 3 and 4, 201..205 NT 5.0,
// 301..303 NT 5.1, 401 NT 5.2, 901 later, 0 unknown. The service pack is read only where it matters.
int32_t GetOsVersionCode(const OsVersionInfo& info, ServicePackReader readServicePack);

// Codes above this one use the per-session "Local\" and "Global\" forms of named objects.
inline constexpr int32_t kLastCodeWithoutNamespaces = 108;
// Codes up to this one (the Windows 95 family) have no security attributes.
inline constexpr int32_t kLastCodeWithoutSecurity = 5;

}  // namespace tfm
