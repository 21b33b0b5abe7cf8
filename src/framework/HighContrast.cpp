#include "framework/HighContrast.h"

#include <windows.h>

#include <cwchar>
#include <iterator>

#include "os/Owned.h"

namespace fw {
namespace {

constexpr wchar_t kProfileKey[] = L"Control Panel\\Accessibility\\HighContrast";
constexpr wchar_t kFlagsValue[] = L"Flags";  // REG_SZ: the HIGHCONTRAST flags in decimal

bool ProfileSaysOn() {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kProfileKey, 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return false;
  const os::UniqueKey key(opened);
  wchar_t flags[16] = L"";
  DWORD type = 0;
  DWORD length = sizeof flags - sizeof flags[0];  // room for the terminating zero a value may lack
  if (RegQueryValueExW(key.get(), kFlagsValue, nullptr, &type, reinterpret_cast<BYTE*>(flags), &length) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return false;
  return (std::wcstoul(flags, nullptr, 10) & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

bool HighContrastOn() {
  HIGHCONTRASTW setting{};
  setting.cbSize = sizeof setting;
  if (SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof setting, &setting, 0) &&
      (setting.dwFlags & HCF_HIGHCONTRASTON) != 0)
    return true;
  return ProfileSaysOn();
}

}  // namespace fw
