#include "app/OsVersionWin32.h"

#include <windows.h>

#include "os/Owned.h"

namespace tfm {

OsVersionInfo ReadOsVersionInfo() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) return {};
  return {true, info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

uint32_t ReadServicePackValue() {
  constexpr REGSAM kRead = 0x20019;  // KEY_READ
  HKEY raw = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Windows", 0, kRead, &raw) !=
      ERROR_SUCCESS)
    return 0;
  os::UniqueKey key(raw);
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExA(key.get(), "CSDVersion", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS)
    return 0;
  return value & 0xFFFF;
}

}  // namespace tfm
