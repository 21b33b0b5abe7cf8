#include "capi/CapiMessenger.h"

#include "capi/CapiMessageCodec.h"

namespace tfm {

void SetUpHeader(CMsg& cmsg, uint16_t applId, uint8_t command, uint8_t subcommand, uint16_t messageNumber,
                 uint32_t address) {
  cmsg = CMsg{};
  cmsg.ApplId = applId;
  cmsg.Command = command;
  cmsg.Subcommand = subcommand;
  cmsg.Messagenumber = messageNumber;
  cmsg.Address = address;
}

uint32_t CapiMessenger::CAPI_GET_CMSG(CMsg& cmsg, uint16_t applId) {
  void* message = nullptr;
  const uint32_t info = m_entryPoints.CAPI_GET_MESSAGE(applId, &message);
  if (info != 0) return info;
  if (!message) return kCapiIllegalCommand;
  return CMsgUnpack(cmsg, message);
}

uint32_t CapiMessenger::CAPI_PUT_CMSG(CMsg& cmsg) {
  const uint32_t info = CMsgPack(cmsg, m_sendBuffer, sizeof m_sendBuffer);
  if (info != 0) return info;
  return m_entryPoints.CAPI_PUT_MESSAGE(cmsg.ApplId, m_sendBuffer);
}

uint32_t CapiMessenger::PutAddressOnly(CMsg& cmsg, uint16_t applId, uint8_t command, uint8_t subcommand,
                                       uint16_t messageNumber, uint32_t address) {
  SetUpHeader(cmsg, applId, command, subcommand, messageNumber, address);
  return CAPI_PUT_CMSG(cmsg);
}

uint32_t CapiMessenger::DISCONNECT_REQ(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t plci,
                                       CapiStruct bChannelinformation, CapiStruct keypadfacility,
                                       CapiStruct useruserdata, CapiStruct facilitydataarray) {
  SetUpHeader(cmsg, applId, kCapiDisconnect, kCapiReq, messageNumber, plci);
  cmsg.BChannelinformation = bChannelinformation;
  cmsg.Keypadfacility = keypadfacility;
  cmsg.Useruserdata = useruserdata;
  cmsg.Facilitydataarray = facilitydataarray;
  return CAPI_PUT_CMSG(cmsg);
}

uint32_t CapiMessenger::DISCONNECT_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t plci) {
  return PutAddressOnly(cmsg, applId, kCapiDisconnect, kCapiResp, messageNumber, plci);
}

uint32_t CapiMessenger::INFO_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t plci) {
  return PutAddressOnly(cmsg, applId, kCapiInfo, kCapiResp, messageNumber, plci);
}

uint32_t CapiMessenger::CONNECT_B3_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t ncci,
                                        uint16_t reject, CapiStruct ncpi) {
  SetUpHeader(cmsg, applId, kCapiConnectB3, kCapiResp, messageNumber, ncci);
  cmsg.Reject = reject;
  cmsg.NCPI = ncpi;
  return CAPI_PUT_CMSG(cmsg);
}

uint32_t CapiMessenger::CONNECT_B3_ACTIVE_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t ncci) {
  return PutAddressOnly(cmsg, applId, kCapiConnectB3Active, kCapiResp, messageNumber, ncci);
}

uint32_t CapiMessenger::DISCONNECT_B3_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t ncci) {
  return PutAddressOnly(cmsg, applId, kCapiDisconnectB3, kCapiResp, messageNumber, ncci);
}

uint32_t CapiMessenger::DATA_B3_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t ncci,
                                     uint16_t dataHandle) {
  SetUpHeader(cmsg, applId, kCapiDataB3, kCapiResp, messageNumber, ncci);
  cmsg.DataHandle = dataHandle;
  return CAPI_PUT_CMSG(cmsg);
}

}  // namespace tfm
