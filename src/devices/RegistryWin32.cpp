#include "devices/RegistryWin32.h"

#include <windows.h>

#include "os/Owned.h"
#include "os/Process.h"

namespace tfm {
namespace {

HKEY ToHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }

// The predefined roots (HKEY_CLASSES_ROOT and its siblings) are not handles of ours to close.
bool IsPredefined(RegKey key) {
  for (uint32_t root = 0x80000000u; root <= 0x80000006u; ++root) {
    if (key == static_cast<RegKey>(static_cast<std::intptr_t>(static_cast<int32_t>(root)))) return true;
  }
  return false;
}

}  // namespace

int32_t RegistryWin32::OpenKey(RegKey parent, const char* path, uint32_t access, RegKey* key) {
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyExA(ToHkey(parent), path, 0, access, &opened);
  if (result == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(opened);
  return result;
}

void RegistryWin32::CloseKey(RegKey key) {
  if (key != kNoKey && !IsPredefined(key)) os::release::RegistryKey(ToHkey(key));
}

int32_t RegistryWin32::QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
  DWORD valueType = 0;
  DWORD length = *size;
  const LONG result = RegQueryValueExA(ToHkey(key), name, nullptr, &valueType, data, &length);
  if (type) *type = valueType;
  *size = length;
  return result;
}

int32_t RegistryWin32::QuerySubKeyCount(RegKey key, uint32_t* count) {
  DWORD subKeys = 0;
  const LONG result = RegQueryInfoKeyA(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr);
  *count = subKeys;
  return result;
}

int32_t RegistryWin32::EnumKey(RegKey key, uint32_t index, char* name, uint32_t* capacity) {
  DWORD length = *capacity;
  FILETIME lastWrite;
  const LONG result = RegEnumKeyExA(ToHkey(key), index, name, &length, nullptr, nullptr, nullptr, &lastWrite);
  *capacity = length;
  return result;
}

std::string RegistryWin32::ErrorText(int32_t code) { return os::SystemErrorText(static_cast<uint32_t>(code)); }

}  // namespace tfm
