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
#include "os/Owned.h"

namespace tfm {

// How long creating or connecting waits for the fax server (or anyone) to let go of the race mutex.
inline constexpr DWORD kRaceMutexWaitMs = 250;

// An owned handle or view that the listener thread reads without a lock: the owner is filled first and
// the value published after, so the listener never sees an object that is not complete. Published once;
// it goes with the channel, after the listener has stopped.
template <class Owner>
class Published {
 public:
  using Value = decltype(Owner().get());
  void Publish(Owner owner) {
    m_owner = std::move(owner);
    m_value = m_owner.get();
  }
  Value get() const { return m_value.load(); }

 private:
  Owner m_owner;
  std::atomic<Value> m_value{};
};

// The calls that create channel objects. Creating a "Global\" object needs a privilege that a standard
// user lacks; a test makes them refuse to show that the objects the fax service made are opened instead.
struct ChannelCreateCalls {
  HANDLE(WINAPI* createMapping)(HANDLE file, LPSECURITY_ATTRIBUTES security, DWORD protect, DWORD sizeHigh,
                                DWORD sizeLow, LPCWSTR name) = CreateFileMappingW;
  HANDLE(WINAPI* createMutex)(LPSECURITY_ATTRIBUTES security, BOOL owned, LPCWSTR name) = CreateMutexW;
  HANDLE(WINAPI* createEvent)(LPSECURITY_ATTRIBUTES security, BOOL manualReset, BOOL signalled,
                              LPCWSTR name) = CreateEventW;
};

class CInterProcessChannel final : public IChannelPort, public IServerEventPort {
 public:
  // Codes above 108 put the mapping and the mutexes into the "Global\" namespace. The listener's waits
  // also end when stopEvent (the workers' stop signal; may be null) is set.
  explicit CInterProcessChannel(int32_t osVersionCode, HANDLE stopEvent = nullptr,
                                const ChannelCreateCalls& create = {});
  CInterProcessChannel(const CInterProcessChannel&) = delete;
  CInterProcessChannel& operator=(const CInterProcessChannel&) = delete;

  // Opens or creates the mapping, its view and the data mutex, all or none. Called again (the poller
  // does so after every service restart), it keeps what is open.
  bool CreateChannel(const char* baseName) override;
  // Opens or creates the client and server events, again keeping those already open.
  bool ConnectEvents() override;

  // The listener's view of the channel; every slot is read afresh on each call.
  ServerEventWait WaitForServerEvent(uint32_t timeoutMs) override;
  const unsigned char* CurrentBlock() override;
  std::string TextFromServerBytes(std::string_view bytes) const override;
  void SetClientEvent() override;

  DWORD lastError() const { return m_lastError; }
  // Wording of the last failure of CreateChannel; shown nowhere, also sent to the trace.
  const std::string& errorText() const { return m_errorText; }
  // True when the last failure was this account not being allowed to create the objects, which the
  // fax service makes once it runs.
  bool creatingRefused() const { return m_lastError == ERROR_ACCESS_DENIED; }
  const ChannelObjectNames& names() const { return m_names; }

 private:
  class RaceLock;
  os::UniqueHandle OpenOrCreateEvent(const std::string& name);
  bool OpenObjects();
  os::UniqueHandle OpenDataMutex();
  bool Fail(const char* what, DWORD code);

  int32_t m_osVersionCode;
  HANDLE m_stopEvent;  // not owned
  ChannelCreateCalls m_create;
  std::string m_baseName = kChannelBaseName;
  ChannelObjectNames m_names;
  DWORD m_lastError = 0;
  std::string m_errorText;
  ChannelSecurity m_security;
  os::UniqueHandle m_mapping;
  os::UniqueHandle m_dataMutex;
  Published<os::UniqueView> m_view;  // published last, once the mapping and the data mutex are open
  Published<os::UniqueHandle> m_serverEvent;
  Published<os::UniqueHandle> m_clientEvent;
};

}  // namespace tfm
