#pragma once
// The ISDN call monitor: registers a COMMON-ISDN-API application, listens on every controller for
// every service, and polls the provider, handing each message to the dispatcher. It never places,
// accepts or refuses a call: it follows every call in progress and logs every offered one. The thread
// body is portable; the Win32 thread entry is IsdnMonitorThreadProc (IsdnMonitorThreadWin32.h).
#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "calllog/CallLogPort.h"
#include "capi/CallTable.h"
#include "capi/CapiEntryPoints.h"
#include "capi/CapiMessage.h"
#include "capi/CapiMessenger.h"
#include "common/CallActivity.h"
#include "common/Sleep.h"
#include "common/TrayPort.h"
#include "phonebook/PhoneBookPort.h"

namespace tfm {

// Registration: message buffer 1024 + 1024 * maximum logical connections.
inline constexpr uint32_t kRegisterMessageBufferSize = 3072;
inline constexpr uint32_t kRegisterMaxLogicalConnections = 2;
inline constexpr uint32_t kRegisterMaxBDataBlocks = 7;
inline constexpr uint32_t kRegisterMaxBDataLength = 2048;

// Every CIP value the standard defines (bits 0..9 and 16..28), and the Info mask the monitor sends.
inline constexpr uint32_t kListenCipMask = 0x1FFF03FF;
inline constexpr uint32_t kListenInfoMask = 0x40;

inline constexpr int kMessagesPerPass = 6;
inline constexpr uint32_t kPollIntervalMs = 100;
// Lines the call log keeps while its file refuses them are tried again every tenth pass (a second): a
// file held locked for long is then opened once a second, not ten times. A new call tries at once.
inline constexpr uint32_t kPassesPerCallLogRetry = 10;

class CIsdnMonitor {
 public:
  // activity hears how many calls are in progress whenever a call enters or leaves the call table; the
  // phone book, where there is one, names the caller in the tooltip.
  CIsdnMonitor(const CapiEntryPoints& entryPoints, ITrayPort& tray, ICallLog& callLog,
               std::atomic<int32_t>& workersRunning, CallActivity& activity, SleepFunction sleep,
               const IPhoneBook* phoneBook = nullptr);
  CIsdnMonitor(const CIsdnMonitor&) = delete;
  CIsdnMonitor& operator=(const CIsdnMonitor&) = delete;

  // The thread body: register, listen, poll while workersRunning is 1, release. Returns 0.
  uint32_t RunThread();

  bool IsCapiInstalled() const;
  // Application id, or 0 when the provider is not installed or gave no id.
  uint16_t RegisterApplication();
  // Releases a non-zero id.
  void ReleaseApplication(uint16_t applId);
  // CAPI_GET_PROFILE for a controller (0: the number of controllers in the first word). May be called
  // from any thread: it touches no state of the monitor.
  uint32_t GetCAPIProfile(uint32_t controller, CapiProfile& profile) const;
  uint32_t GetNumberOfControllers() const;
  // LISTEN_REQ to controllers 1..N in order; the Info of the first refusal (later controllers get
  // none), or 0.
  uint32_t ListenAllControllers(uint32_t cipMask, uint32_t infoMask);
  void RunMessagePump();
  // One dispatch pass: at most six messages.
  void Handle_CAPI_Msg();

  // Numbers of the last offered call.
  const std::string& calledNumber() const { return m_calledNumber; }
  const std::string& callingNumber() const { return m_callingNumber; }
  const CallTable& calls() const { return m_calls; }

 private:
  void Handle_Indication();
  void Handle_Confirmation();
  void OnConnectInd();
  // A damaged DISCONNECT_IND (its Reason unreadable) still frees its call and is answered.
  void OnDisconnectInd(bool reasonReadable);
  void OnDisconnectB3Ind();
  void OnFailedConfirmation();
  void ClearCall(uint32_t plci);
  void OnFetchFailed(uint32_t info);
  void PublishActivity();

  const CapiEntryPoints& m_entryPoints;
  ITrayPort& m_tray;
  ICallLog& m_callLog;
  const IPhoneBook* m_phoneBook;
  std::atomic<int32_t>& m_workersRunning;
  CallActivity& m_activity;
  SleepFunction m_sleep;
  CapiMessenger m_messenger;

  uint16_t m_applId = 0;
  CMsg m_receive{};
  CMsg* m_message = &m_receive;  // what the dispatcher reads through
  CallTable m_calls;
  bool m_queueOverflowTraced = false;
  // Reserved at construction for the longest number a copy holds, so that setting them never allocates.
  std::string m_calledNumber;
  std::string m_callingNumber;
};

}  // namespace tfm
