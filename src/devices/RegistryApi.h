#pragma once
// The narrow registry seam that the registry wrapper and modem discovery are written against. The
// Win32 implementation forwards to the Reg*W functions, names and text values in UTF-8 here; MemoryRegistry holds an in-memory tree for
// tests and for systems without a registry. Result codes, access masks and value types are the
// platform's own numbers, so the Win32 side passes them through unchanged.
#include <cstdint>
#include <string>
#include <utility>

namespace tfm {

// A key handle as the platform sees it (HKEY); 0 means "no key".
using RegKey = std::uintptr_t;
inline constexpr RegKey kNoKey = 0;
// The platform's predefined local-machine root (HKEY_LOCAL_MACHINE, sign-extended like the HKEY).
inline constexpr RegKey kLocalMachine = static_cast<RegKey>(static_cast<std::intptr_t>(static_cast<int32_t>(0x80000002u)));

inline constexpr uint32_t kKeyRead = 0x20019;  // KEY_READ

inline constexpr uint32_t kRegString = 1;  // REG_SZ
inline constexpr uint32_t kRegBinary = 3;  // REG_BINARY
inline constexpr uint32_t kRegDword = 4;   // REG_DWORD

inline constexpr int32_t kRegSuccess = 0;           // ERROR_SUCCESS
inline constexpr int32_t kRegNotFound = 2;          // ERROR_FILE_NOT_FOUND
inline constexpr int32_t kRegAccessDenied = 5;      // ERROR_ACCESS_DENIED
inline constexpr int32_t kRegInvalidHandle = 6;     // ERROR_INVALID_HANDLE
inline constexpr int32_t kRegInvalidParameter = 87; // ERROR_INVALID_PARAMETER
inline constexpr int32_t kRegMoreData = 234;        // ERROR_MORE_DATA
inline constexpr int32_t kRegNoMoreItems = 259;     // ERROR_NO_MORE_ITEMS

class RegistryKey;

class IRegistry {
 public:
  // OpenKey with an owner: the key is closed through this registry when the owner goes. result gets
  // the platform's code; the owner holds no key on failure.
  RegistryKey Open(RegKey parent, const char* path, uint32_t access, int32_t& result);

  // RegOpenKeyExW: an empty path opens a second handle to parent itself.
  virtual int32_t OpenKey(RegKey parent, const char* path, uint32_t access, RegKey* key) = 0;
  // RegCloseKey; the predefined roots are left alone. Keys are closed by their RegistryKey owner.
  virtual void CloseKey(RegKey key) = 0;
  // RegQueryValueExW: with data null only *size is set to the value's length. Otherwise *size is the
  // capacity on entry and the length on return; a value longer than the capacity fails with
  // kRegMoreData. type may be null.
  virtual int32_t QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) = 0;
  // RegQueryInfoKeyW, the number of subkeys only.
  virtual int32_t QuerySubKeyCount(RegKey key, uint32_t* count) = 0;
  // RegEnumKeyExW: *capacity holds the name buffer size in characters including the terminator on
  // entry and the name length in bytes without it on return; a longer name fails with kRegMoreData.
  virtual int32_t EnumKey(RegKey key, uint32_t index, char* name, uint32_t* capacity) = 0;
  // The system's message text for a result code (FormatMessageW), empty if it has none.
  virtual std::string ErrorText(int32_t code) = 0;

 protected:
  ~IRegistry() = default;
};

// One open key of a registry, closed through that registry when the owner goes or takes another key.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(IRegistry& registry, RegKey key) : m_registry(&registry), m_key(key) {}
  RegistryKey(RegistryKey&& other) noexcept
      : m_registry(other.m_registry), m_key(std::exchange(other.m_key, kNoKey)) {}
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      reset();
      m_registry = other.m_registry;
      m_key = std::exchange(other.m_key, kNoKey);
    }
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() { reset(); }

  RegKey get() const { return m_key; }
  explicit operator bool() const { return m_key != kNoKey; }
  void reset() {
    if (m_key != kNoKey) m_registry->CloseKey(std::exchange(m_key, kNoKey));
  }

 private:
  IRegistry* m_registry = nullptr;
  RegKey m_key = kNoKey;
};

inline RegistryKey IRegistry::Open(RegKey parent, const char* path, uint32_t access, int32_t& result) {
  RegKey key = kNoKey;
  result = OpenKey(parent, path, access, &key);
  return result == kRegSuccess ? RegistryKey(*this, key) : RegistryKey();
}

}  // namespace tfm
