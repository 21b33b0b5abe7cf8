#pragma once
// A wrapper around one open registry key: open it, read text and binary values, list its subkeys and
// search a local-machine subtree for the key whose text value of a given name equals a given text.
// Every operation reports failure through its result and leaves the platform code in LastResult().
#include <cstdint>
#include <string>
#include <vector>

#include "devices/RegistryApi.h"

namespace tfm {

class CRegistryEx {
 public:
  // Fixed limits of the value and name reads, in UTF-8 bytes: 200 characters of a text value and the
  // longest key name (255 characters) of any script.
  static constexpr uint32_t kValueBufferLength = 768;
  static constexpr uint32_t kStringCapacity = 600;
  static constexpr uint32_t kSubKeyNameCapacity = 768;

  // initialKey is the key the object works on until Open replaces it; FindKeyWithValue needs it to
  // be the local-machine root.
  CRegistryEx(IRegistry& registry, RegKey initialKey);
  virtual ~CRegistryEx();
  CRegistryEx(const CRegistryEx&) = delete;
  CRegistryEx& operator=(const CRegistryEx&) = delete;

  // Opens parent\subKey with the access asked for, read by default: the monitor only reads, and a
  // standard user may not open the modem class keys for more. A key already held is closed first, so
  // a second Open cannot leak a handle.
  bool Open(RegKey parent, const std::string& subKey, uint32_t access = kKeyRead);
  // Closes the held key before the object goes.
  void Close() { m_key.reset(); }

  // Reads a value of at most min(size, 256) bytes; on success copies exactly LastSize() bytes.
  bool QueryBinaryValue(const char* name, void* destination, uint32_t size);
  // Reads a value of at most 200 bytes and takes it up to the first zero byte; the type is not
  // tested. The destination is untouched on failure.
  bool QueryStringValue(const char* name, std::string& destination);

  // Lists the subkeys of path (relative to the held key) in enumeration order. The list is replaced
  // only once the key is open and counted; a failing name read keeps the names read before it.
  bool EnumSubKeys(const std::string& path, std::vector<std::string>& list);

  // Depth first below the local-machine key path, each key before its subkeys; the comparison
  // ignores letter case. Returns the path of the first match, or empty.
  std::string FindKeyWithValue(const std::string& path, const char* valueName, const std::string& wanted);

  // Composes the diagnostic line for a failed platform call and sends it to the trace.
  void ReportError(int32_t code, const char* callName, const char* sourceName, uint32_t line);

  int32_t LastResult() const { return m_lastResult; }
  uint32_t LastType() const { return m_lastType; }
  uint32_t LastSize() const { return m_lastSize; }
  RegKey Key() const { return m_key.get(); }
  const std::string& KeyPath() const { return m_keyPath; }

 private:
  bool QueryValue(const char* name, uint8_t* buffer, uint32_t capacity);
  void Record(int32_t result) {
    m_lastResult = result;
    m_lastType = 0;
    m_lastSize = 0;
  }

  IRegistry& m_registry;
  int32_t m_lastResult = 0;
  uint32_t m_lastType = 0;
  uint32_t m_lastSize = 0;
  RegistryKey m_key;  // the initial key too: closing a predefined root changes nothing
  std::string m_keyPath;
};

// Upper-cases ASCII letters, as the registry compares names; other bytes are kept.
std::string ToUpperAscii(std::string text);

}  // namespace tfm
