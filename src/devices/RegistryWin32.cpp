#include "devices/RegistryWin32.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "os/Owned.h"
#include "os/Process.h"
#include "os/Text.h"

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

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// A text value's UTF-16 data as UTF-8, zero-terminated the way its type is: a string ends at its first
// zero (a value written without one is taken whole), a list of strings keeps its zeros between the
// strings and ends with two.
std::string TextValueAsUtf8(DWORD type, const std::vector<BYTE>& data) {
  std::wstring wide(data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), data.data(), wide.size() * sizeof(wchar_t));
  if (type == REG_MULTI_SZ) {
    while (!wide.empty() && wide.back() == L'\0') wide.pop_back();
    return os::Utf8(wide) + std::string(2, '\0');
  }
  return os::Utf8(wide.substr(0, wide.find(L'\0'))) + '\0';
}

// The whole value, asked for again while it grows between the calls.
LONG ReadValue(HKEY key, const wchar_t* name, DWORD& type, std::vector<BYTE>& data) {
  for (;;) {
    DWORD length = static_cast<DWORD>(data.size());
    const LONG result = RegQueryValueExW(key, name, nullptr, &type, data.empty() ? nullptr : data.data(), &length);
    if (result == ERROR_SUCCESS && (!data.empty() || length == 0)) {
      data.resize(length);
      return result;
    }
    if (result != ERROR_SUCCESS && result != ERROR_MORE_DATA) return result;
    data.resize(length);
  }
}

}  // namespace

int32_t RegistryWin32::OpenKey(RegKey parent, const char* path, uint32_t access, RegKey* key) {
  HKEY opened = nullptr;
  const LONG result = RegOpenKeyExW(ToHkey(parent), os::Wide(path ? path : "").c_str(), 0, access, &opened);
  if (result == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(opened);
  return result;
}

void RegistryWin32::CloseKey(RegKey key) {
  if (key != kNoKey && !IsPredefined(key)) os::release::RegistryKey(ToHkey(key));
}

// Text values are read as UTF-16 and handed on as UTF-8, so their length is known only once they are read:
// every query reads the whole value and then answers as the seam promises.
int32_t RegistryWin32::QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) {
  DWORD valueType = 0;
  std::vector<BYTE> raw;
  const LONG result = ReadValue(ToHkey(key), name ? os::Wide(name).c_str() : nullptr, valueType, raw);
  if (result != ERROR_SUCCESS) return result;
  if (type) *type = valueType;
  if (IsText(valueType)) {
    const std::string text = TextValueAsUtf8(valueType, raw);
    raw.assign(text.begin(), text.end());
  }
  const uint32_t capacity = *size;
  *size = static_cast<uint32_t>(raw.size());
  if (!data) return ERROR_SUCCESS;
  if (raw.size() > capacity) return ERROR_MORE_DATA;
  std::copy(raw.begin(), raw.end(), data);
  return ERROR_SUCCESS;
}

int32_t RegistryWin32::QuerySubKeyCount(RegKey key, uint32_t* count) {
  DWORD subKeys = 0;
  const LONG result = RegQueryInfoKeyW(ToHkey(key), nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, nullptr,
                                       nullptr, nullptr, nullptr, nullptr);
  *count = subKeys;
  return result;
}

int32_t RegistryWin32::EnumKey(RegKey key, uint32_t index, char* name, uint32_t* capacity) {
  wchar_t wide[256];  // a key name has at most 255 characters
  DWORD length = static_cast<DWORD>(std::size(wide));
  FILETIME lastWrite;
  const LONG result = RegEnumKeyExW(ToHkey(key), index, wide, &length, nullptr, nullptr, nullptr, &lastWrite);
  if (result != ERROR_SUCCESS) return result;
  const std::string utf8 = os::Utf8(std::wstring_view(wide, length));
  if (utf8.size() + 1 > *capacity) return ERROR_MORE_DATA;
  std::memcpy(name, utf8.c_str(), utf8.size() + 1);
  *capacity = static_cast<uint32_t>(utf8.size());
  return ERROR_SUCCESS;
}

std::string RegistryWin32::ErrorText(int32_t code) { return os::SystemErrorText(static_cast<uint32_t>(code)); }

}  // namespace tfm
