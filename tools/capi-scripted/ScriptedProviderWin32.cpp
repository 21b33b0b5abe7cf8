// capi2032.dll for tests and demos: a COMMON-ISDN-API provider that plays a scenario file (named by
// TFM_CAPI_SCENARIO) and records every call it gets, with the bytes of every message it is given, to
// the file named by TFM_CAPI_RECORD. Without a scenario it has one controller and no traffic.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>

#include "Scenario.h"

namespace {

constexpr DWORD kNotInstalled = 0x1009;
constexpr DWORD kIllegalApplication = 0x1101;
constexpr DWORD kIllegalCommand = 0x1102;
constexpr DWORD kQueueEmpty = 0x1104;
constexpr DWORD kIllegalController = 0x2002;
constexpr uint8_t kListen = 0x05;
constexpr uint8_t kReq = 0x80;

// Paths come from the environment in UTF-16: the run folder may be named in any script.
std::wstring Environment(const wchar_t* name) {
  wchar_t value[1024];
  const DWORD length = GetEnvironmentVariableW(name, value, static_cast<DWORD>(std::size(value)));
  return length > 0 && length < std::size(value) ? std::wstring(value, length) : std::wstring();
}

class ScriptedProvider {
 public:
  ScriptedProvider() : m_recordPath(Environment(L"TFM_CAPI_RECORD")) {
    m_scenario.profiles.assign(1, scripted::Profile{});
    const std::wstring path = Environment(L"TFM_CAPI_SCENARIO");
    if (path.empty()) return;
    std::ifstream in(std::filesystem::path{path});
    std::string error;
    if (!in) {
      Record("SCENARIO not readable");
      m_broken = true;
    } else if (!scripted::ParseScenario(in, m_scenario, error)) {
      Record("SCENARIO %s", error.c_str());
      m_broken = true;
    }
  }

  DWORD Installed() {
    std::lock_guard lock(m_lock);
    const DWORD result = m_broken ? kNotInstalled : m_scenario.installed;
    Record("CAPI_INSTALLED -> 0x%lx", result);
    return result;
  }

  DWORD Register(DWORD bufferSize, DWORD connections, DWORD blocks, DWORD length, DWORD* applId) {
    std::lock_guard lock(m_lock);
    m_applId = m_scenario.applId;
    *applId = m_applId;
    Record("CAPI_REGISTER %lu %lu %lu %lu -> 0x%lx id=%lu", bufferSize, connections, blocks, length,
           m_scenario.registerResult, m_applId);
    return m_scenario.registerResult;
  }

  DWORD Release(DWORD applId) {
    std::lock_guard lock(m_lock);
    const DWORD result = applId != 0 && applId == m_applId ? 0 : kIllegalApplication;
    if (result == 0) m_applId = 0;
    Record("CAPI_RELEASE %lu -> 0x%lx", applId, result);
    return result;
  }

  DWORD Put(DWORD applId, const void* message) {
    std::lock_guard lock(m_lock);
    if (!message) {
      Record("CAPI_PUT_MESSAGE %lu null -> 0x%lx", applId, kIllegalCommand);
      return kIllegalCommand;
    }
    const auto* bytes = static_cast<const uint8_t*>(message);
    const size_t length = bytes[0] | (bytes[1] << 8);
    const std::string hex = scripted::ToHex(bytes, length < 8 ? 2 : length);
    DWORD result = 0;
    if (applId == 0 || applId != m_applId) result = kIllegalApplication;
    else if (length < 12) result = kIllegalCommand;
    Record("CAPI_PUT_MESSAGE %lu %s -> 0x%lx", applId, hex.c_str(), result);
    if (result == 0 && bytes[4] == kListen && bytes[5] == kReq && !m_clockStarted) {
      m_clockStarted = true;
      m_lastDelivery = GetTickCount64();
    }
    return result;
  }

  DWORD Get(DWORD applId, void** message) {
    std::lock_guard lock(m_lock);
    *message = nullptr;
    DWORD result = kQueueEmpty;
    if (applId == 0 || applId != m_applId) {
      result = kIllegalApplication;
    } else if (Due()) {
      // The delivered message stays in m_delivered until the next fetch.
      const scripted::ScriptedMessage& next = m_scenario.messages[m_next];
      m_delivered = next.message;
      if (!next.raw) scripted::PatchHeader(m_delivered, static_cast<uint16_t>(m_applId), ++m_messageNumber);
      m_lastDelivery = GetTickCount64();
      if (++m_next == m_scenario.messages.size() && m_scenario.loop) m_next = 0;
      *message = m_delivered.data();
      result = 0;
    }
    if (result == 0) {
      Record("CAPI_GET_MESSAGE %lu -> 0 %s", applId, scripted::ToHex(m_delivered.data(), m_delivered.size()).c_str());
    } else {
      Record("CAPI_GET_MESSAGE %lu -> 0x%lx", applId, result);
    }
    return result;
  }

  DWORD Profile(void* buffer, DWORD controller) {
    std::lock_guard lock(m_lock);
    auto* profile = static_cast<uint8_t*>(buffer);
    std::memset(profile, 0, 64);
    const size_t count = m_scenario.profiles.size();
    DWORD result = 0;
    if (controller == 0) {
      profile[0] = static_cast<uint8_t>(count);
    } else if (controller <= count) {
      std::memcpy(profile, m_scenario.profiles[controller - 1].data(), 64);
      profile[0] = static_cast<uint8_t>(count);
    } else {
      result = kIllegalController;
    }
    Record("CAPI_GET_PROFILE %lu -> 0x%lx", controller, result);
    return result;
  }

  DWORD Version(DWORD* capiMajor, DWORD* capiMinor, DWORD* manufacturerMajor, DWORD* manufacturerMinor) {
    std::lock_guard lock(m_lock);
    *capiMajor = m_scenario.version[0];
    *capiMinor = m_scenario.version[1];
    *manufacturerMajor = m_scenario.version[2];
    *manufacturerMinor = m_scenario.version[3];
    Record("CAPI_GET_VERSION -> 0");
    return 0;
  }

  void Manufacturer(char* buffer) {
    std::lock_guard lock(m_lock);
    std::strcpy(buffer, "Telvaro scripted line");  // the standard's buffer holds 64 bytes
    Record("CAPI_GET_MANUFACTURER");
  }

  DWORD SerialNumber(char* buffer) {
    std::lock_guard lock(m_lock);
    std::strcpy(buffer, "0000001");  // the standard's buffer holds 8 bytes
    Record("CAPI_GET_SERIAL_NUMBER -> 0");
    return 0;
  }

 private:
  bool Due() const {
    if (!m_clockStarted || m_next >= m_scenario.messages.size()) return false;
    return GetTickCount64() - m_lastDelivery >= m_scenario.messages[m_next].afterMs;
  }

  // One line per call, appended and closed at once so that a test can read it while we run.
  void Record(const char* format, ...) {
    if (m_recordPath.empty()) return;
    FILE* file = _wfopen(m_recordPath.c_str(), L"ab");
    if (!file) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file, format, args);
    va_end(args);
    std::fputc('\n', file);
    std::fclose(file);
  }

  std::mutex m_lock;
  std::wstring m_recordPath;
  scripted::Scenario m_scenario;
  bool m_broken = false;
  DWORD m_applId = 0;
  bool m_clockStarted = false;
  ULONGLONG m_lastDelivery = 0;
  size_t m_next = 0;
  uint16_t m_messageNumber = 0;
  scripted::Bytes m_delivered;
};

ScriptedProvider& Provider() {
  static ScriptedProvider provider;
  return provider;
}

}  // namespace

extern "C" {

DWORD WINAPI CAPI_INSTALLED() { return Provider().Installed(); }
DWORD WINAPI CAPI_REGISTER(DWORD bufferSize, DWORD connections, DWORD blocks, DWORD length, DWORD* applId) {
  return Provider().Register(bufferSize, connections, blocks, length, applId);
}
DWORD WINAPI CAPI_RELEASE(DWORD applId) { return Provider().Release(applId); }
DWORD WINAPI CAPI_PUT_MESSAGE(DWORD applId, void* message) { return Provider().Put(applId, message); }
DWORD WINAPI CAPI_GET_MESSAGE(DWORD applId, void** message) { return Provider().Get(applId, message); }
DWORD WINAPI CAPI_GET_PROFILE(void* buffer, DWORD controller) { return Provider().Profile(buffer, controller); }
DWORD WINAPI CAPI_GET_VERSION(DWORD* capiMajor, DWORD* capiMinor, DWORD* manufacturerMajor,
                              DWORD* manufacturerMinor) {
  return Provider().Version(capiMajor, capiMinor, manufacturerMajor, manufacturerMinor);
}
void WINAPI CAPI_GET_MANUFACTURER(char* buffer) { Provider().Manufacturer(buffer); }
DWORD WINAPI CAPI_GET_SERIAL_NUMBER(char* buffer) { return Provider().SerialNumber(buffer); }

}  // extern "C"
