#pragma once
// The flat COMMON-ISDN-API message structure: one field per parameter of every message, packed to and
// unpacked from the standard's wire form by table-driven walkers (CapiMessageCodec.h).
#include <cstddef>
#include <cstdint>

namespace tfm {

// Subcommands.
inline constexpr uint8_t kCapiReq = 0x80;
inline constexpr uint8_t kCapiConf = 0x81;
inline constexpr uint8_t kCapiInd = 0x82;
inline constexpr uint8_t kCapiResp = 0x83;

// Commands.
inline constexpr uint8_t kCapiAlert = 0x01;
inline constexpr uint8_t kCapiConnect = 0x02;
inline constexpr uint8_t kCapiConnectActive = 0x03;
inline constexpr uint8_t kCapiDisconnect = 0x04;
inline constexpr uint8_t kCapiListen = 0x05;
inline constexpr uint8_t kCapiInfo = 0x08;
inline constexpr uint8_t kCapiSelectBProtocol = 0x41;
inline constexpr uint8_t kCapiFacility = 0x80;
inline constexpr uint8_t kCapiConnectB3 = 0x82;
inline constexpr uint8_t kCapiConnectB3Active = 0x83;
inline constexpr uint8_t kCapiDisconnectB3 = 0x84;
inline constexpr uint8_t kCapiDataB3 = 0x86;
inline constexpr uint8_t kCapiResetB3 = 0x87;
inline constexpr uint8_t kCapiConnectB3T90Active = 0x88;
inline constexpr uint8_t kCapiManufacturer = 0xFF;

inline constexpr size_t kCapiHeaderLength = 8;
// Header plus the address parameter that every message carries.
inline constexpr size_t kCapiMinimumMessageLength = 12;

// A struct field points at a length-prefixed byte string in wire form (length byte included), or is
// null for an empty struct. A nested field is a flag: 0 = present (its inner fields are coded),
// 1 = empty (coded as the single byte 0).
using CapiStruct = const uint8_t*;

struct CMsg {
  uint16_t ApplId;
  uint8_t Command;
  uint8_t Subcommand;
  uint16_t Messagenumber;
  uint32_t Address;  // Controller, PLCI or NCCI, whichever the message carries
  uint32_t AdditionalInfo;
  CapiStruct B1configuration;
  uint16_t B1protocol;
  CapiStruct B2configuration;
  uint16_t B2protocol;
  CapiStruct B3configuration;
  uint16_t B3protocol;
  CapiStruct BC;
  CapiStruct BChannelinformation;
  uint32_t BProtocol;
  CapiStruct CalledPartyNumber;
  CapiStruct CalledPartySubaddress;
  CapiStruct CallingPartyNumber;
  CapiStruct CallingPartySubaddress;
  uint32_t CIPmask;
  uint32_t CIPmask2;
  uint16_t CIPValue;
  uint32_t Class;
  CapiStruct ConnectedNumber;
  CapiStruct ConnectedSubaddress;
  uint32_t Data32;
  uint16_t DataHandle;
  uint16_t DataLength;
  CapiStruct FacilityConfirmationParameter;
  CapiStruct Facilitydataarray;
  CapiStruct FacilityIndicationParameter;
  CapiStruct FacilityRequestParameter;
  CapiStruct FacilityResponseParameters;
  uint16_t FacilitySelector;
  uint16_t Flags;
  uint32_t Function;
  CapiStruct HLC;
  uint16_t Info;
  CapiStruct InfoElement;
  uint32_t InfoMask;
  uint16_t InfoNumber;
  CapiStruct Keypadfacility;
  CapiStruct LLC;
  CapiStruct ManuData;
  uint32_t ManuID;
  CapiStruct NCPI;
  uint16_t Reason;
  uint16_t Reason_B3;
  uint16_t Reject;
  CapiStruct Useruserdata;

  // Working state of the walkers; callers never set these.
  uint32_t walkOffset;         // byte offset in the wire message
  uint32_t walkPosition;       // index into the active parameter list
  const uint8_t* activeList;   // the parameter list being walked
  const uint8_t* wireMessage;  // the message being read (unpack) or written (pack)
};

// Total length of the struct string at s in wire form: 1 + length, or 3 + length with the 0xFF escape.
// Null (empty) counts as the single zero byte.
size_t CapiStructWireLength(CapiStruct s);

// Content bytes of the struct string at s (after the length byte or the 0xFF escape); 0 when null.
size_t CapiStructContentLength(CapiStruct s);
const uint8_t* CapiStructContent(CapiStruct s);

}  // namespace tfm
