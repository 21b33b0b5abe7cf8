#include "capi/IsdnMonitor.h"

#include <utility>

#include "capi/CapiInstalled.h"
#include "capi/InfoText.h"
#include "common/Trace.h"

namespace tfm {

CIsdnMonitor::CIsdnMonitor(const CapiEntryPoints& entryPoints, ITrayPort& tray, ICallLog& callLog,
                           std::atomic<int32_t>& workersRunning, CallActivity& activity, SleepFunction sleep,
                           const IPhoneBook* phoneBook)
    : m_entryPoints(entryPoints),
      m_tray(tray),
      m_callLog(callLog),
      m_phoneBook(phoneBook),
      m_workersRunning(workersRunning),
      m_activity(activity),
      m_sleep(std::move(sleep)),
      m_messenger(entryPoints) {
  m_calledNumber.reserve(NumberCopy::kCapacity);
  m_callingNumber.reserve(NumberCopy::kCapacity);
}

uint32_t CIsdnMonitor::RunThread() {
  m_applId = 0;
  m_message = &m_receive;
  m_calledNumber.clear();

  m_applId = RegisterApplication();
  if (m_applId == 0) return 0;
  m_calls.MarkAllFree();
  PublishActivity();
  Handle_CAPI_Msg();
  ListenAllControllers(kListenCipMask, kListenInfoMask);
  RunMessagePump();
  ReleaseApplication(m_applId);
  m_applId = 0;
  m_calls.MarkAllFree();  // the calls are not followed any more
  PublishActivity();
  return 0;
}

bool CIsdnMonitor::IsCapiInstalled() const { return ::tfm::IsCapiInstalled(m_entryPoints); }

uint16_t CIsdnMonitor::RegisterApplication() {
  if (!IsCapiInstalled()) {
    Trace("Error: No ISDN-driver installed.");
    return 0;
  }
  CapiDword applId = 0;
  const uint32_t info = m_entryPoints.CAPI_REGISTER(kRegisterMessageBufferSize, kRegisterMaxLogicalConnections,
                                                    kRegisterMaxBDataBlocks, kRegisterMaxBDataLength, &applId);
  // Success is judged by the id, not by the result: providers differ in what they return.
  if (applId == 0) {
    TraceF("Error Registering CAPI application : %s", GetInfoText(info & 0xFFFF).c_str());
    return 0;
  }
  TraceF("Register Capi AppID: %d", static_cast<int>(applId));
  return static_cast<uint16_t>(applId);
}

void CIsdnMonitor::ReleaseApplication(uint16_t applId) {
  if (applId > 0) {
    const uint32_t info = m_entryPoints.CAPI_RELEASE(applId);
    if (info != 0) TraceF("Error Deregistering the CAPI application  %s", GetInfoText(info).c_str());
  }
  TraceF("Release Capi AppID. %d", applId);
}

uint32_t CIsdnMonitor::GetCAPIProfile(uint32_t controller, CapiProfile& profile) const {
  const uint32_t info = m_entryPoints.CAPI_GET_PROFILE(profile.data(), controller);
  if (info != 0) {
    TraceF("GetCAPIProfile failed for controller:%d, error: %s", static_cast<int>(controller),
           GetInfoText(info).c_str());
  }
  return info;
}

uint32_t CIsdnMonitor::GetNumberOfControllers() const {
  CapiProfile profile{};
  if (GetCAPIProfile(0, profile) != 0) return 0;
  return static_cast<uint32_t>(profile[0] | (profile[1] << 8));
}

uint32_t CIsdnMonitor::ListenAllControllers(uint32_t cipMask, uint32_t infoMask) {
  const uint32_t controllers = GetNumberOfControllers();
  for (uint32_t controller = 1; controller <= controllers; ++controller) {
    CMsg listen;
    SetUpHeader(listen, m_applId, kCapiListen, kCapiReq, 0, controller);
    listen.CIPmask = cipMask;
    listen.InfoMask = infoMask;
    const uint32_t info = m_messenger.CAPI_PUT_CMSG(listen);
    if (info != 0) {
      TraceF("Listen error: %s", GetInfoText(info).c_str());
      return info;
    }
  }
  TraceF("capi: LISTEN_REQ sent to %u controllers", static_cast<unsigned>(controllers));
  return 0;
}

void CIsdnMonitor::RunMessagePump() {
  uint32_t pass = 0;
  do {
    Handle_CAPI_Msg();
    if (++pass % kPassesPerCallLogRetry == 0) m_callLog.FlushPending();
    m_sleep(kPollIntervalMs);
  } while (m_workersRunning.load() == 1);
}

}  // namespace tfm
