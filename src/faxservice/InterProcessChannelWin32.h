#pragma once
// The monitor's side of the channel to the fax server: a 264-byte named block, a data mutex that the
// server writes under, and two events (server: "text posted", client: "text seen"). Whichever process
// comes first creates the objects; the race mutex serialises creating and opening between them.
#include <windows.h>

#include <atomic>
#include <string>

#include "faxservice/ChannelSecurityWin32.h"
#include "faxservice/FaxServiceNames.h"
#include "faxservice/IpcListener.h"
#include "faxservice/ServicePoller.h"

namespace tfm {

class CInterProcessChannel final : public IChannelPort, public IServerEventPort {
 public:
  CInterProcessChannel();
  CInterProcessChannel(const CInterProcessChannel&) = delete;
  CInterProcessChannel& operator=(const CInterProcessChannel&) = delete;
  ~CInterProcessChannel();

  // Chooses the object namespace (codes above 108: "Global\"); set before the channel is opened.
  void SetOsVersionCode(int32_t osVersionCode);

  // Opens or creates the mapping, its view and the data mutex. Called again (the poller does so after
  // every service restart), it keeps what is open and opens only what is missing.
  bool CreateChannel(const char* baseName) override;
  // Opens or creates the client and server events, again keeping those already open.
  bool ConnectEvents() override;
  void CloseChannel();

  // The listener's view of the channel; every slot is read afresh on each call.
  ServerEventWait WaitForServerEvent(uint32_t timeoutMs) override;
  const unsigned char* CurrentBlock() override;
  void SetClientEvent() override;

  DWORD lastError() const { return m_lastError; }
  // Wording of the last failure of CreateChannel; shown nowhere, also sent to the trace.
  const std::string& errorText() const { return m_errorText; }
  const ChannelObjectNames& names() const { return m_names; }

 private:
  bool AcquireRaceMutex();
  void ReleaseRaceMutex();
  HANDLE OpenOrCreateEvent(const std::string& name);
  bool OpenMissingObjects();
  bool OpenDataMutex();
  bool Fail(const char* what, DWORD code);

  int32_t m_osVersionCode = 0;
  HANDLE m_mapping = nullptr;
  std::atomic<unsigned char*> m_view{nullptr};
  std::string m_baseName = kChannelBaseName;
  ChannelObjectNames m_names;
  DWORD m_lastError = 0;
  std::string m_errorText;
  ChannelSecurity m_security;
  HANDLE m_dataMutex = nullptr;
  HANDLE m_raceMutex = nullptr;  // held only inside CreateChannel and ConnectEvents
  std::atomic<HANDLE> m_serverEvent{nullptr};
  std::atomic<HANDLE> m_clientEvent{nullptr};
};

}  // namespace tfm
