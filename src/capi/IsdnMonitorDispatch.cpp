// The dispatcher: turns the messages the provider delivers into the monitor's visible effects (tray
// tooltip, call log) and the responses the standard requires. A pass allocates nothing but what the
// phone book's lookup of an offered call's caller takes: calls go into table entries allocated with the
// monitor, numbers into fixed buffers, texts are composed on the stack.
#include <cstdio>
#include <cstring>

#include "capi/CapiEntryPoints.h"
#include "capi/InfoText.h"
#include "capi/IsdnMonitor.h"
#include "common/Trace.h"
#include "phonebook/CallerText.h"

namespace tfm {
namespace {

constexpr uint32_t kPlciMask = 0xFFFF;
constexpr uint16_t kHighestSuccessInfo = 0xFF;
constexpr char kIncomingCallFormat[] = "incoming call from %s to %s";
// The format's text, the caller (named) and the called number at their longest.
constexpr size_t kIncomingCallTextLength = sizeof kIncomingCallFormat + sizeof(CallerText) + NumberCopy::kCapacity;
static_assert(CallerText::kNumberMaxLength >= NumberCopy::kCapacity);

}  // namespace

void CIsdnMonitor::Handle_CAPI_Msg() {
  for (int handled = 0; handled < kMessagesPerPass; ++handled) {
    const uint32_t info = m_messenger.CAPI_GET_CMSG(*m_message, m_applId);
    if (info == kCapiQueueEmpty) return;
    // A hang-up is honoured even when damaged: its header and PLCI are all it needs.
    const bool damagedHangUp = info == kCapiIllegalParameterCoding && m_message->Command == kCapiDisconnect &&
                               m_message->Subcommand == kCapiInd;
    if (info != 0 && !damagedHangUp) {
      OnFetchFailed(info);
      return;
    }
    m_queueOverflowTraced = false;  // a message came through: the next overflow is news again
    m_calls.NoteActivity(m_message->Address & kPlciMask);
    if (damagedHangUp) {
      OnDisconnectInd(false);
    } else if (m_message->Subcommand == kCapiConf) {
      Handle_Confirmation();
    } else if (m_message->Subcommand == kCapiInd) {
      Handle_Indication();
    } else {
      TraceF("Error: Unknown subcommand in function Handle_CAPI_Msg : %s", InfoText(0).c_str());
      return;
    }
  }
}

// A message that cannot be read is traced and left: nothing is taken for it. A provider whose queue
// overflowed may say so at every poll until a message comes through again, so that is traced once.
void CIsdnMonitor::OnFetchFailed(uint32_t info) {
  if (info == kCapiQueueOverflow) {
    if (m_queueOverflowTraced) return;
    m_queueOverflowTraced = true;
  }
  TraceF("Error: CAPI_GET_CMSG returns Info != 0 in function Handle_CAPI_Msg: %s", InfoText(info).c_str());
}

void CIsdnMonitor::PublishActivity() {
  const int inProgress = m_calls.InUseCount();
  m_activity.Publish(inProgress);
  TraceF("capi: %d calls in progress", inProgress);
}

// Every response carries the indication's message number; the builders clear the message they are
// given, so address and number are read before.
void CIsdnMonitor::Handle_Indication() {
  CMsg& m = *m_message;
  const uint32_t address = m.Address;
  const uint16_t number = m.Messagenumber;
  switch (m.Command) {
    case kCapiConnect:
      OnConnectInd();
      break;
    case kCapiConnectActive:
    case kCapiFacility:
      break;
    case kCapiDisconnect:
      OnDisconnectInd(true);
      break;
    case kCapiInfo:
      m_messenger.INFO_RESP(m, m_applId, number, address);
      break;
    case kCapiConnectB3: {
      const int slot = m_calls.FindByPlci(address & kPlciMask);
      if (slot >= 0) m_calls[slot].NCCI = address;
      m_messenger.CONNECT_B3_RESP(m, m_applId, number, address, 0, nullptr);
      break;
    }
    case kCapiConnectB3Active: {
      const int slot = m_calls.FindByNcci(address);
      if (slot >= 0) m_calls[slot].clearCallAfterB3 = false;
      m_messenger.CONNECT_B3_ACTIVE_RESP(m, m_applId, number, address);
      break;
    }
    case kCapiDisconnectB3:
      OnDisconnectB3Ind();
      break;
    case kCapiDataB3:
      m_messenger.DATA_B3_RESP(m, m_applId, number, address, m.DataHandle);
      break;
    default:
      Trace("ZurEvareruv Error: Indication not handled in function Handle_Indication");
      break;
  }
}

void CIsdnMonitor::OnConnectInd() {
  CMsg& m = *m_message;
  const uint32_t plci = m.Address;
  // The call is neither accepted nor refused: no CONNECT_RESP, whatever the table holds.
  int slot = m_calls.FindByPlci(plci);
  if (slot < 0) {
    slot = m_calls.Allocate(plci);
    PublishActivity();
  }
  CallSlot& call = m_calls[slot];
  call.callingNumberCopy.Assign(m.CallingPartyNumber);
  call.calledNumberCopy.Assign(m.CalledPartyNumber);
  // Within the capacity reserved at construction: no allocation.
  m_calledNumber.assign(CalledNumberText(call.calledNumberCopy));
  m_callingNumber.assign(CallingNumberText(call.callingNumberCopy));
  MakeNumberPrintable(m_calledNumber);
  MakeNumberPrintable(m_callingNumber);

  // Numbers and names are data: arguments, never the format.
  const CallerText caller(m_callingNumber, m_phoneBook ? m_phoneBook->NameFor(m_callingNumber) : std::string());
  char tip[kIncomingCallTextLength];
  std::snprintf(tip, sizeof tip, kIncomingCallFormat, caller.c_str(), m_calledNumber.c_str());
  m_tray.ChangeTip(tip);
  m_callLog.WriteCallLog("IN", m_calledNumber, m_callingNumber);
}

void CIsdnMonitor::OnDisconnectInd(bool reasonReadable) {
  CMsg& m = *m_message;
  const uint32_t plci = m.Address;
  const uint16_t reason = m.Reason;
  m_messenger.DISCONNECT_RESP(m, m_applId, m.Messagenumber, plci);
  if (!reasonReadable) {
    TraceF("capi: DISCONNECT_IND for PLCI 0x%x without a readable reason", static_cast<unsigned>(plci));
  }
  const int slot = m_calls.FindByPlci(plci);
  if (slot < 0) return;
  if (reasonReadable) {
    const InfoText text(reason);
    if (!std::strstr(text.c_str(), "normal clearing")) TraceF("Disconnect reason: %s", text.c_str());
  }
  m_calls.Free(slot);
  PublishActivity();
}

void CIsdnMonitor::OnDisconnectB3Ind() {
  CMsg& m = *m_message;
  const uint32_t ncci = m.Address;
  const int slot = m_calls.FindByNcci(ncci);
  if (slot >= 0) m_calls[slot].NCCI = kNoAddress;
  m_messenger.DISCONNECT_B3_RESP(m, m_applId, m.Messagenumber, ncci);
  if (slot >= 0 && m_calls[slot].clearCallAfterB3) ClearCall(m_calls[slot].PLCI);
}

void CIsdnMonitor::ClearCall(uint32_t plci) {
  m_messenger.DISCONNECT_REQ(*m_message, m_applId, 0, plci, nullptr, nullptr, nullptr, nullptr);
}

void CIsdnMonitor::Handle_Confirmation() {
  const CMsg& m = *m_message;
  if (m.Info > kHighestSuccessInfo) {
    OnFailedConfirmation();
    return;
  }
  if (m.Command == kCapiConnectB3) {
    const int slot = m_calls.FindByPlci(m.Address & kPlciMask);
    if (slot >= 0) m_calls[slot].NCCI = m.Address;
  } else if (m.Command == kCapiDisconnectB3) {
    const int slot = m_calls.FindByNcci(m.Address);
    if (slot >= 0) m_calls[slot].clearCallAfterB3 = true;
  }
}

// Confirmations carry no Reason, so the texts built from it show the text of 0.
void CIsdnMonitor::OnFailedConfirmation() {
  const CMsg& m = *m_message;
  TraceF("Error: Info value indicates error %s, function Handle_Confirmation", InfoText(m.Info).c_str());
  switch (m.Command) {
    case kCapiDisconnect:
      if (m_calls.FindByPlci(m.Address) < 0) {
        TraceF("Disconnect confirmation Error: %s", InfoText(m.Reason).c_str());
      }
      break;
    case kCapiConnectB3: {
      const int slot = m_calls.FindByPlci(m.Address & kPlciMask);
      if (slot < 0) {
        TraceF("Error: invalid PLCI in CONNECT_B3_CONF %s", InfoText(m.Info).c_str());
      } else {
        ClearCall(m_calls[slot].PLCI);
      }
      break;
    }
    case kCapiDisconnectB3:
      if (m_calls.FindByNcci(m.Address) < 0) {
        TraceF("Disconnect B3 confirmation Error: %s", InfoText(m.Reason).c_str());
      }
      break;
    default:
      break;
  }
}

}  // namespace tfm
