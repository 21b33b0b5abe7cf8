#include "faxservice/InterProcessChannelWin32.h"

#include <aclapi.h>

#include "common/Trace.h"
#include "os/Process.h"
#include "os/Text.h"

namespace tfm {

// Holds the race mutex for one create or connect. Even "already exists" after a failed open means the
// other side created it between our open and create: the lock is then not taken this time rather than
// guessing who owns it. Any program of the session may hold the mutex (a hung fax service does), and
// start-up runs on the user-interface thread: the wait is bounded, and a lock not had in time leaves the
// channel to the poller's next cycle.
class CInterProcessChannel::RaceLock {
 public:
  RaceLock(const std::string& name, const ChannelCreateCalls& create, DWORD& lastError) {
    const std::wstring wideName = os::Wide(name);
    m_mutex.reset(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, wideName.c_str()));
    if (!m_mutex) {
      SetLastError(ERROR_SUCCESS);
      m_mutex.reset(create.createMutex(nullptr, FALSE, wideName.c_str()));
      lastError = GetLastError();
      if (!m_mutex || lastError != ERROR_SUCCESS) return;
    }
    // An abandoned mutex is ours as well.
    const DWORD wait = WaitForSingleObject(m_mutex.get(), kRaceMutexWaitMs);
    m_held = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    if (!m_held) {
      lastError = ERROR_TIMEOUT;
      TraceF("channel: race mutex busy for %lu ms", kRaceMutexWaitMs);
    }
  }
  ~RaceLock() {
    if (m_held) ReleaseMutex(m_mutex.get());
  }
  RaceLock(const RaceLock&) = delete;
  RaceLock& operator=(const RaceLock&) = delete;
  bool held() const { return m_held; }

 private:
  os::UniqueHandle m_mutex;
  bool m_held = false;
};

CInterProcessChannel::CInterProcessChannel(int32_t osVersionCode, HANDLE stopEvent, const ChannelCreateCalls& create)
    : m_osVersionCode(osVersionCode),
      m_stopEvent(stopEvent),
      m_create(create),
      m_names(BuildObjectNames(m_baseName, m_osVersionCode)) {}

bool CInterProcessChannel::Fail(const char* what, DWORD code) {
  m_lastError = code;
  m_errorText = std::string(what) + " " + os::SystemErrorText(code);
  TraceF("%s", m_errorText.c_str());
  return false;
}

bool CInterProcessChannel::CreateChannel(const char* baseName) {
  if (!m_security.BuildSecurityDescriptor()) return false;
  // The objects kept open belong to the stored names; callers always pass the same base name.
  m_baseName = baseName ? baseName : "";
  m_names = BuildObjectNames(m_baseName, m_osVersionCode);
  if (m_view.get()) return true;
  const RaceLock lock(m_names.raceMutex, m_create, m_lastError);
  // An account that may not create the race mutex may not create the other objects either: it only
  // opens those the fax service made, which needs no lock.
  if (!lock.held() && m_lastError != ERROR_ACCESS_DENIED) return false;
  const bool opened = OpenObjects();
  if (opened) m_lastError = ERROR_SUCCESS;
  return opened;
}

bool CInterProcessChannel::OpenObjects() {
  std::wstring mapName = os::Wide(m_names.map);
  os::UniqueHandle mapping(m_create.createMapping(INVALID_HANDLE_VALUE, m_security.attributes(), PAGE_READWRITE, 0,
                                                  kSharedBlockLength, mapName.c_str()));
  // An account that may not create a "Global\" object may still open the one the fax service made.
  if (!mapping && GetLastError() == ERROR_ACCESS_DENIED) {
    mapping.reset(OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE, FALSE, mapName.c_str()));
    if (!mapping) SetLastError(ERROR_ACCESS_DENIED);
  }
  if (!mapping) return Fail("InterProcess CreateFileMapping", GetLastError());
  // Open the block to everyone, whoever created it: the server may run under another account.
  SetNamedSecurityInfoW(mapName.data(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                        nullptr);
  os::UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
  if (!view) return Fail("InterProcess MapViewOfFile", GetLastError());
  os::UniqueHandle dataMutex = OpenDataMutex();
  if (!dataMutex) return false;
  m_mapping = std::move(mapping);
  m_dataMutex = std::move(dataMutex);
  m_view.Publish(std::move(view));
  return true;
}

os::UniqueHandle CInterProcessChannel::OpenDataMutex() {
  const std::wstring name = os::Wide(m_names.dataMutex);
  os::UniqueHandle mutex(OpenMutexW(MUTEX_MODIFY_STATE, FALSE, name.c_str()));
  if (mutex) return mutex;
  mutex.reset(m_create.createMutex(m_security.attributes(), FALSE, name.c_str()));
  m_lastError = GetLastError();
  if (!mutex) Fail("InterProcess Server DataMutext", m_lastError);
  return mutex;
}

os::UniqueHandle CInterProcessChannel::OpenOrCreateEvent(const std::string& name) {
  const std::wstring wideName = os::Wide(name);
  os::UniqueHandle event(OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, TRUE, wideName.c_str()));
  m_lastError = GetLastError();
  if (event) return event;
  event.reset(m_create.createEvent(nullptr, TRUE, FALSE, wideName.c_str()));
  m_lastError = GetLastError();
  return event;
}

bool CInterProcessChannel::ConnectEvents() {
  if (m_clientEvent.get() && m_serverEvent.get()) return true;
  const RaceLock lock(m_names.raceMutex, m_create, m_lastError);  // without it the events are opened all the same
  if (!m_clientEvent.get()) m_clientEvent.Publish(OpenOrCreateEvent(m_names.clientEvent));
  if (!m_clientEvent.get()) return false;
  if (!m_serverEvent.get()) m_serverEvent.Publish(OpenOrCreateEvent(m_names.serverEvent));
  return m_serverEvent.get() != nullptr;
}

ServerEventWait CInterProcessChannel::WaitForServerEvent(uint32_t timeoutMs) {
  HANDLE event = m_serverEvent.get();
  if (!event) return ServerEventWait::Failed;
  // The server event comes first; the listener checks the stop after every wait, so a server that
  // keeps its event signalled cannot hold it.
  const HANDLE handles[] = {event, m_stopEvent};
  const DWORD count = m_stopEvent ? 2 : 1;
  switch (WaitForMultipleObjects(count, handles, FALSE, timeoutMs)) {
    case WAIT_OBJECT_0:
      return ServerEventWait::Signalled;
    case WAIT_OBJECT_0 + 1:
      return ServerEventWait::Stopped;
    case WAIT_TIMEOUT:
      return ServerEventWait::TimedOut;
    default:
      return ServerEventWait::Failed;
  }
}

const unsigned char* CInterProcessChannel::CurrentBlock() { return static_cast<const unsigned char*>(m_view.get()); }

std::string CInterProcessChannel::TextFromServerBytes(std::string_view bytes) const {
  return os::Utf8FromCodePage(bytes, CP_ACP);
}

void CInterProcessChannel::SetClientEvent() {
  if (HANDLE event = m_clientEvent.get()) SetEvent(event);
}

}  // namespace tfm
