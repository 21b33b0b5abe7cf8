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
    m_mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kRaceMutexName);
    if (!m_mutex) m_mutex = CreateMutexA(nullptr, FALSE, kRaceMutexName);
    if (m_mutex) WaitForSingleObject(m_mutex, INFINITE);
  }
  ~RaceLock() {
    if (!m_mutex) return;
    ReleaseMutex(m_mutex);
    CloseHandle(m_mutex);
  }
  bool held() const { return m_mutex != nullptr; }

 private:
  HANDLE m_mutex;
};

// Read, write and execute for Authenticated Users, as the monitor gives its own objects.
class AuthenticatedUsersOnly {
 public:
  AuthenticatedUsersOnly() {
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;;GRGWGX;;;AU)", SDDL_REVISION_1, &m_descriptor,
                                                             nullptr)) {
      m_attributes = {sizeof m_attributes, m_descriptor, FALSE};
    }
  }
  ~AuthenticatedUsersOnly() { LocalFree(m_descriptor); }
  SECURITY_ATTRIBUTES* get() { return m_descriptor ? &m_attributes : nullptr; }

 private:
  PSECURITY_DESCRIPTOR m_descriptor = nullptr;
  SECURITY_ATTRIBUTES m_attributes{};
};

HANDLE OpenOrCreateEvent(const char* name) {
  HANDLE event = OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, name);
  return event ? event : CreateEventA(nullptr, TRUE, FALSE, name);
}

}  // namespace

ServerEnd::~ServerEnd() {
  if (m_block) UnmapViewOfFile(m_block);
  for (HANDLE h : {m_map, m_dataMutex, m_serverEvent, m_clientEvent}) {
    if (h) CloseHandle(h);
  }
}

std::string ServerEnd::Open() {
  RaceLock race;
  if (!race.held()) return Failure("race-mutex");
  AuthenticatedUsersOnly security;
  m_map = OpenFileMappingA(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, kMapName);
  if (!m_map) m_map = CreateFileMappingA(INVALID_HANDLE_VALUE, security.get(), PAGE_READWRITE, 0, kBlockSize, kMapName);
  if (!m_map) return Failure("mapping");
  char mapName[sizeof kMapName];
  std::memcpy(mapName, kMapName, sizeof kMapName);
  SetNamedSecurityInfoA(mapName, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr, nullptr);
  m_block = static_cast<unsigned char*>(MapViewOfFile(m_map, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, kBlockSize));
  if (!m_block) return Failure("view");
  m_dataMutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kDataMutexName);
  if (!m_dataMutex) m_dataMutex = CreateMutexA(security.get(), FALSE, kDataMutexName);
  if (!m_dataMutex) return Failure("data-mutex");
  m_clientEvent = OpenOrCreateEvent(kClientEventName);
  if (!m_clientEvent) return Failure("client-event");
  m_serverEvent = OpenOrCreateEvent(kServerEventName);
  if (!m_serverEvent) return Failure("server-event");
  return {};
}

ServerEnd::Answer ServerEnd::Post(const std::string& text, HANDLE stop, DWORD timeoutMs) {
  const size_t length = text.size() < kBlockSize - kTextOffset ? text.size() : kBlockSize - kTextOffset;
  WaitForSingleObject(m_dataMutex, INFINITE);
  std::memcpy(m_block + kTextOffset, text.data(), length);
  if (kTextOffset + length < kBlockSize) m_block[kTextOffset + length] = 0;
  ReleaseMutex(m_dataMutex);

  // A late answer to the previous text must not count for this one.
  ResetEvent(m_clientEvent);
  SetEvent(m_serverEvent);
  const HANDLE waits[] = {stop, m_clientEvent};
  const DWORD woken = WaitForMultipleObjects(2, waits, FALSE, timeoutMs);
  ResetEvent(m_serverEvent);
  ResetEvent(m_clientEvent);
  if (woken == WAIT_OBJECT_0 + 1) return Answer::Acknowledged;
  return woken == WAIT_OBJECT_0 ? Answer::Stopped : Answer::TimedOut;
}

}  // namespace faxsim
