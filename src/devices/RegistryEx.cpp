#include "devices/RegistryEx.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "common/Trace.h"

namespace tfm {

std::string ToUpperAscii(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return text;
}

CRegistryEx::CRegistryEx(IRegistry& registry, RegKey initialKey)
    : m_registry(registry), m_key(registry, initialKey) {}

CRegistryEx::~CRegistryEx() = default;

bool CRegistryEx::Open(RegKey parent, const std::string& subKey, uint32_t access) {
  Close();
  m_keyPath = subKey;
  int32_t result = kRegSuccess;
  RegistryKey key = m_registry.Open(parent, subKey.c_str(), access, result);
  Record(result);
  if (m_lastResult != kRegSuccess) return false;
  m_key = std::move(key);
  return true;
}

bool CRegistryEx::QueryValue(const char* name, uint8_t* buffer, uint32_t capacity) {
  uint32_t type = 0;
  uint32_t size = capacity;
  m_lastResult = !m_key ? kRegInvalidHandle : m_registry.QueryValue(m_key.get(), name, &type, buffer, &size);
  m_lastType = type;
  m_lastSize = size;
  // A platform that reports more bytes than it was offered is treated like a failed read.
  if (m_lastResult == kRegSuccess && size > capacity) m_lastResult = kRegMoreData;
  return m_lastResult == kRegSuccess;
}

bool CRegistryEx::QueryBinaryValue(const char* name, void* destination, uint32_t size) {
  uint8_t buffer[kValueBufferLength];
  if (!QueryValue(name, buffer, std::min(size, kValueBufferLength))) return false;
  std::memcpy(destination, buffer, m_lastSize);
  return true;
}

bool CRegistryEx::QueryStringValue(const char* name, std::string& destination) {
  uint8_t buffer[kValueBufferLength];
  if (!QueryValue(name, buffer, kStringCapacity)) return false;
  const auto* text = reinterpret_cast<const char*>(buffer);
  destination.assign(text, strnlen(text, m_lastSize));
  return true;
}

bool CRegistryEx::EnumSubKeys(const std::string& path, std::vector<std::string>& list) {
  int32_t result = kRegInvalidHandle;
  const RegistryKey key = m_key ? m_registry.Open(m_key.get(), path.c_str(), kKeyRead, result) : RegistryKey();
  Record(result);
  if (m_lastResult != kRegSuccess) return false;

  uint32_t count = 0;
  m_lastResult = m_registry.QuerySubKeyCount(key.get(), &count);
  if (m_lastResult == kRegSuccess) {
    list.clear();
    for (uint32_t index = 0; index < count; ++index) {
      char name[kSubKeyNameCapacity];
      uint32_t length = kSubKeyNameCapacity;
      m_lastResult = m_registry.EnumKey(key.get(), index, name, &length);
      if (m_lastResult != kRegSuccess) {
        ReportError(m_lastResult, "RegEnumKeyEx", "RegistryEx", __LINE__);
        break;
      }
      list.emplace_back(name, strnlen(name, std::min(length, kSubKeyNameCapacity)));
    }
  }
  return m_lastResult == kRegSuccess;
}

std::string CRegistryEx::FindKeyWithValue(const std::string& path, const char* valueName, const std::string& wanted) {
  std::string value;
  {
    CRegistryEx start(m_registry, kLocalMachine);
    if (start.Open(kLocalMachine, path)) start.QueryStringValue(valueName, value);
  }
  if (ToUpperAscii(value) == ToUpperAscii(wanted)) return path;

  std::vector<std::string> subKeys;
  if (!EnumSubKeys(path, subKeys)) return {};

  std::string result;
  std::vector<std::string> unused;
  for (const std::string& name : subKeys) {
    if (!result.empty()) break;
    const std::string child = path + "\\" + name;
    // Only a child that can be opened and listed is searched.
    if (EnumSubKeys(child, unused)) result = FindKeyWithValue(child, valueName, wanted);
  }
  return result;
}

void CRegistryEx::ReportError(int32_t code, const char* callName, const char* sourceName, uint32_t line) {
  const std::string systemText = m_registry.ErrorText(code);
  char diagnostic[256];
  std::snprintf(diagnostic, sizeof diagnostic, "%u %s\n%s %u", static_cast<unsigned>(code), callName, sourceName,
                static_cast<unsigned>(line));
  Trace(diagnostic);
  if (!systemText.empty()) TraceF("%s", systemText.c_str());
}

}  // namespace tfm
