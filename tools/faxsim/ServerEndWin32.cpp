#include "ServerEndWin32.h"

#include <aclapi.h>
#include <sddl.h>

#include <cstring>

namespace faxsim {
namespace {

// The server always uses the session-independent names of current Windows versions.
const char kMapName[] = "Global\\TelvaroFaxServerMAP_TelvaroFaxServer";
const char kDataMutexName[] = "Global\\TelvaroFaxServerMUTEX_TelvaroFaxServer";
const char kRaceMutexName[] = "Global\\IPC_RACE_MUTEX{5E2B7A41-0C93-4D6E-8F12-7A3C9B0D4E58}";
const char kServerEventName[] = "Global\\SERVEREVENT_TelvaroFaxServer";
const char kClientEventName[] = "Global\\CLIENTEVENT_TelvaroFaxServer";
constexpr DWORD kBlockSize = 264;
constexpr DWORD kTextOffset = 8;

std::string Failure(const char* step) { return std::string(step) + " " + std::to_string(GetLastError()); }

// Held while the server opens or creates the named objects, as the monitor does.
class RaceLock {
 public:
  RaceLock() {
    m_mutex.reset(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kRaceMutexName));
    if (!m_mutex) m_mutex.reset(CreateMutexA(nullptr, FALSE, kRaceMutexName));
    if (m_mutex) WaitForSingleObject(m_mutex.get(), INFINITE);
  }
  ~RaceLock() {
    if (m_mutex) ReleaseMutex(m_mutex.get());
  }
  RaceLock(const RaceLock&) = delete;
  RaceLock& operator=(const RaceLock&) = delete;
  bool held() const { return static_cast<bool>(m_mutex); }

 private:
  os::UniqueHandle m_mutex;
};

// Read, write and execute for Authenticated Users, as the monitor gives its own objects.
class AuthenticatedUsersOnly {
 public:
  AuthenticatedUsersOnly() {
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;GRGWGX;;;AU)", SDDL_REVISION_1,
                                                             m_descriptor.out(), nullptr)) {
      m_attributes = {sizeof m_attributes, m_descriptor.adopt().get(), FALSE};
    }
  }
  SECURITY_ATTRIBUTES* get() { return m_descriptor.get() ? &m_attributes : nullptr; }

 private:
  os::LocalPtr<void> m_descriptor;
  SECURITY_ATTRIBUTES m_attributes{};
};

os::UniqueHandle OpenOrCreateEvent(const char* name) {
  HANDLE event = OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, name);
  return os::UniqueHandle(event ? event : CreateEventA(nullptr, TRUE, FALSE, name));
}

}  // namespace

std::string ServerEnd::Open() {
  RaceLock race;
  if (!race.held()) return Failure("race-mutex");
  AuthenticatedUsersOnly security;
  m_map.reset(OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kMapName));
  if (!m_map)
    m_map.reset(CreateFileMappingA(INVALID_HANDLE_VALUE, security.get(), PAGE_READWRITE, 0, kBlockSize, kMapName));
  if (!m_map) return Failure("mapping");
  char mapName[sizeof kMapName];
  std::memcpy(mapName, kMapName, sizeof kMapName);
  SetNamedSecurityInfoA(mapName, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr);
  m_view.reset(MapViewOfFile(m_map.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kBlockSize));
  if (!m_view) return Failure("view");
  m_dataMutex.reset(OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kDataMutexName));
  if (!m_dataMutex) m_dataMutex.reset(CreateMutexA(security.get(), FALSE, kDataMutexName));
  if (!m_dataMutex) return Failure("data-mutex");
  m_clientEvent = OpenOrCreateEvent(kClientEventName);
  if (!m_clientEvent) return Failure("client-event");
  m_serverEvent = OpenOrCreateEvent(kServerEventName);
  if (!m_serverEvent) return Failure("server-event");
  return {};
}

ServerEnd::Answer ServerEnd::Post(const std::string& text, HANDLE stop, DWORD timeoutMs) {
  const size_t length = text.size() < kBlockSize - kTextOffset ? text.size() : kBlockSize - kTextOffset;
  auto* block = static_cast<unsigned char*>(m_view.get());
  WaitForSingleObject(m_dataMutex.get(), INFINITE);
  std::memcpy(block + kTextOffset, text.data(), length);
  if (kTextOffset + length < kBlockSize) block[kTextOffset + length] = 0;
  ReleaseMutex(m_dataMutex.get());

  // A late answer to the previous text must not count for this one.
  ResetEvent(m_clientEvent.get());
  SetEvent(m_serverEvent.get());
  const HANDLE waits[] = {stop, m_clientEvent.get()};
  const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, timeoutMs);
  ResetEvent(m_serverEvent.get());
  ResetEvent(m_clientEvent.get());
  if (woken == WAIT_OBJECT_0 + 1) return Answer::Acknowledged;
  return woken == WAIT_OBJECT_0 ? Answer::Stopped : Answer::TimedOut;
}

}  // namespace faxsim
