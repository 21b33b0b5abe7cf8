#include "os/Version.h"

#include <windows.h>

#include "os/Owned.h"

namespace os {

tfm::OsVersionInfo ReadOsVersionInfo() {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#if defined(_MSC_VER)
#pragma warning(suppress : 4996)  // the classification needs the platform id and build, still reported
#endif
  if (!GetVersionExW(&info)) return {};
  return {true, info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

uint32_t ReadServicePackValue() {
  HKEY raw = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"System\\CurrentControlSet\\Control\\Windows", 0, KEY_READ, &raw) !=
      ERROR_SUCCESS)
    return 0;
  UniqueKey key(raw);
  DWORD value = 0;
  DWORD size = sizeof value;
  if (RegQueryValueExW(key.get(), L"CSDVersion", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) !=
      ERROR_SUCCESS)
    return 0;
  return value & 0xFFFF;
}

}  // namespace os
