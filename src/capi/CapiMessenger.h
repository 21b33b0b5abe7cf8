#pragma once
// Sending and fetching CMsg through the provider's entry points, and one builder per message the
// monitor sends. Only the monitor thread uses it, so the one send buffer needs no lock.
#include <cstddef>
#include <cstdint>

#include "capi/CapiEntryPoints.h"
#include "capi/CapiMessage.h"

namespace tfm {

inline constexpr size_t kCapiSendBufferLength = 2048;

// Clears cmsg and sets the header fields and the address.
void SetUpHeader(CMsg& cmsg, uint16_t applId, uint8_t command, uint8_t subcommand, uint16_t messageNumber,
                 uint32_t address);

class CapiMessenger {
 public:
  explicit CapiMessenger(const CapiEntryPoints& entryPoints) : m_entryPoints(entryPoints) {}
  CapiMessenger(const CapiMessenger&) = delete;
  CapiMessenger& operator=(const CapiMessenger&) = delete;

  // Fetches the next message and unpacks it into cmsg. A non-zero Info from the provider is returned
  // unchanged with cmsg untouched; an undecodable message gives the unpacker's Info, and leaves its
  // header and address in cmsg when its parameters are what failed (0x2007).
  uint32_t CAPI_GET_CMSG(CMsg& cmsg, uint16_t applId);
  // Packs cmsg into the send buffer and hands it to the provider, which copies it before returning.
  uint32_t CAPI_PUT_CMSG(CMsg& cmsg);

  // The builders clear cmsg first (it may hold the indication being answered), so every value they
  // need is passed by value. Each returns CAPI_PUT_CMSG's result.
  uint32_t DISCONNECT_REQ(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t plci,
                          CapiStruct bChannelinformation, CapiStruct keypadfacility, CapiStruct useruserdata,
                          CapiStruct facilitydataarray);
  uint32_t DISCONNECT_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t plci);
  uint32_t INFO_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t plci);
  uint32_t CONNECT_B3_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t ncci, uint16_t reject,
                           CapiStruct ncpi);
  uint32_t CONNECT_B3_ACTIVE_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t ncci);
  uint32_t DISCONNECT_B3_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t ncci);
  // DATA_B3_IND must be answered with its data handle, or the provider runs out of B-data blocks.
  uint32_t DATA_B3_RESP(CMsg& cmsg, uint16_t applId, uint16_t messageNumber, uint32_t ncci, uint16_t dataHandle);

 private:
  uint32_t PutAddressOnly(CMsg& cmsg, uint16_t applId, uint8_t command, uint8_t subcommand, uint16_t messageNumber,
                          uint32_t address);

  const CapiEntryPoints& m_entryPoints;
  alignas(4) uint8_t m_sendBuffer[kCapiSendBufferLength];
};

}  // namespace tfm
