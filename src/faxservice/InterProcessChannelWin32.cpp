#include "faxservice/InterProcessChannelWin32.h"

#include <aclapi.h>

#include <vector>

#include "common/Trace.h"
#include "os/Process.h"

namespace tfm {

CInterProcessChannel::CInterProcessChannel() : m_names(BuildObjectNames(m_baseName, m_osVersionCode)) {}

CInterProcessChannel::~CInterProcessChannel() { CloseChannel(); }

void CInterProcessChannel::SetOsVersionCode(int32_t osVersionCode) {
  m_osVersionCode = osVersionCode;
  m_names = BuildObjectNames(m_baseName, m_osVersionCode);
}

bool CInterProcessChannel::Fail(const char* what, DWORD code) {
  m_lastError = code;
  m_errorText = std::string(what) + " " + os::SystemErrorText(code);
  TraceF("%s", m_errorText.c_str());
  return false;
}

bool CInterProcessChannel::AcquireRaceMutex() {
  m_raceMutex = OpenMutexA(MUTEX_ALL_ACCESS, FALSE, m_names.raceMutex.c_str());
  if (!m_raceMutex) {
    SetLastError(ERROR_SUCCESS);
    m_raceMutex = CreateMutexA(nullptr, FALSE, m_names.raceMutex.c_str());
    m_lastError = GetLastError();
    // Even "already exists" means the other side created it between our open and create: give up
    // this time rather than guess who owns it.
    if (!m_raceMutex || m_lastError != ERROR_SUCCESS) return false;
  }
  WaitForSingleObject(m_raceMutex, INFINITE);  // an abandoned mutex is ours as well
  return true;
}

void CInterProcessChannel::ReleaseRaceMutex() {
  if (!m_raceMutex) return;
  ReleaseMutex(m_raceMutex);  // fails harmlessly when the wait was never reached
  CloseHandle(m_raceMutex);
  m_raceMutex = nullptr;
}

bool CInterProcessChannel::CreateChannel(const char* baseName) {
  if (!m_security.BuildSecurityDescriptor()) return false;
  // The objects kept open belong to the stored names; callers always pass the same base name.
  m_baseName = baseName ? baseName : "";
  m_names = BuildObjectNames(m_baseName, m_osVersionCode);
  if (m_mapping && m_view.load() && m_dataMutex) return true;
  if (!AcquireRaceMutex()) {
    ReleaseRaceMutex();
    return false;
  }
  const bool opened = OpenMissingObjects();
  if (opened) m_lastError = ERROR_SUCCESS;
  ReleaseRaceMutex();
  return opened;
}

bool CInterProcessChannel::OpenMissingObjects() {
  HANDLE openedMapping = nullptr;
  if (!m_mapping) {
    openedMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, m_security.attributes(), PAGE_READWRITE, 0,
                                       kSharedBlockLength, m_names.map.c_str());
    if (!openedMapping) return Fail("InterProcess CreateFileMapping", GetLastError());
    m_mapping = openedMapping;
    // Open the block to everyone, whoever created it: the server may run under another account.
    std::vector<char> name(m_names.map.begin(), m_names.map.end() + 1);
    SetNamedSecurityInfoA(name.data(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, nullptr,
                          nullptr);
  }
  unsigned char* mappedView = nullptr;
  if (!m_view.load()) {
    mappedView = static_cast<unsigned char*>(MapViewOfFile(m_mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, 0));
    if (!mappedView) {
      const DWORD code = GetLastError();
      CloseHandle(m_mapping);
      m_mapping = nullptr;
      return Fail("InterProcess MapViewOfFile", code);
    }
    m_view = mappedView;
  }
  if (OpenDataMutex()) return true;
  // Undo only what this call opened: a view kept from before may be in the listener's hands.
  if (mappedView) {
    m_view = nullptr;
    UnmapViewOfFile(mappedView);
  }
  if (openedMapping) {
    CloseHandle(openedMapping);
    m_mapping = nullptr;
  }
  return false;
}

bool CInterProcessChannel::OpenDataMutex() {
  if (m_dataMutex) return true;
  m_dataMutex = OpenMutexA(MUTEX_MODIFY_STATE, FALSE, m_names.dataMutex.c_str());
  if (m_dataMutex) return true;
  m_lastError = GetLastError();
  m_dataMutex = CreateMutexA(m_security.attributes(), FALSE, m_names.dataMutex.c_str());
  m_lastError = GetLastError();
  return m_dataMutex || Fail("InterProcess Server DataMutext", m_lastError);
}

HANDLE CInterProcessChannel::OpenOrCreateEvent(const std::string& name) {
  HANDLE event = OpenEventA(SYNCHRONIZE | EVENT_MODIFY_STATE, TRUE, name.c_str());
  m_lastError = GetLastError();
  if (event) return event;
  event = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
  m_lastError = GetLastError();
  return event;
}

bool CInterProcessChannel::ConnectEvents() {
  if (m_clientEvent.load() && m_serverEvent.load()) return true;
  AcquireRaceMutex();  // without it the events are opened all the same
  if (!m_clientEvent.load()) m_clientEvent = OpenOrCreateEvent(m_names.clientEvent);
  bool connected = false;
  if (m_clientEvent.load()) {
    if (!m_serverEvent.load()) m_serverEvent = OpenOrCreateEvent(m_names.serverEvent);
    connected = m_serverEvent.load() != nullptr;
  }
  ReleaseRaceMutex();
  return connected;
}

void CInterProcessChannel::CloseChannel() {
  if (unsigned char* view = m_view.exchange(nullptr)) UnmapViewOfFile(view);
  for (HANDLE* handle : {&m_mapping, &m_dataMutex}) {
    if (*handle) CloseHandle(*handle);
    *handle = nullptr;
  }
  for (std::atomic<HANDLE>* event : {&m_clientEvent, &m_serverEvent}) {
    if (HANDLE h = event->exchange(nullptr)) CloseHandle(h);
  }
}

ServerEventWait CInterProcessChannel::WaitForServerEvent(uint32_t timeoutMs) {
  HANDLE event = m_serverEvent.load();
  if (!event) return ServerEventWait::Failed;
  switch (WaitForSingleObject(event, timeoutMs)) {
    case WAIT_OBJECT_0:
      return ServerEventWait::Signalled;
    case WAIT_TIMEOUT:
      return ServerEventWait::TimedOut;
    default:
      return ServerEventWait::Failed;
  }
}

const unsigned char* CInterProcessChannel::CurrentBlock() { return m_view.load(); }

void CInterProcessChannel::SetClientEvent() {
  if (HANDLE event = m_clientEvent.load()) SetEvent(event);
}

}  // namespace tfm
