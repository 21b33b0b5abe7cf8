#include "capi/CapiParameterTables.h"

namespace tfm {

#define TFM_ROW(type, field) {type, static_cast<uint32_t>(offsetof(CMsg, field))}

// Rows 0..2 end a list (row 1 is the marker the lists use); row 3 is the address; rows 4..48 follow
// CMsg's field order.
const ParamDescriptor kParamDescriptors[kParamDescriptorCount] = {
    {kParamEnd, 0},
    {kParamEnd, 0},
    {kParamEnd, 0},
    TFM_ROW(kParamDword, Address),                         // 3
    TFM_ROW(kParamNested, AdditionalInfo),                 // 4
    TFM_ROW(kParamStruct, B1configuration),                // 5
    TFM_ROW(kParamWord, B1protocol),                       // 6
    TFM_ROW(kParamStruct, B2configuration),                // 7
    TFM_ROW(kParamWord, B2protocol),                       // 8
    TFM_ROW(kParamStruct, B3configuration),                // 9
    TFM_ROW(kParamWord, B3protocol),                       // 10
    TFM_ROW(kParamStruct, BC),                             // 11
    TFM_ROW(kParamStruct, BChannelinformation),            // 12
    TFM_ROW(kParamNested, BProtocol),                      // 13
    TFM_ROW(kParamStruct, CalledPartyNumber),              // 14
    TFM_ROW(kParamStruct, CalledPartySubaddress),          // 15
    TFM_ROW(kParamStruct, CallingPartyNumber),             // 16
    TFM_ROW(kParamStruct, CallingPartySubaddress),         // 17
    TFM_ROW(kParamDword, CIPmask),                         // 18
    TFM_ROW(kParamDword, CIPmask2),                        // 19
    TFM_ROW(kParamWord, CIPValue),                         // 20
    TFM_ROW(kParamDword, Class),                           // 21
    TFM_ROW(kParamStruct, ConnectedNumber),                // 22
    TFM_ROW(kParamStruct, ConnectedSubaddress),            // 23
    TFM_ROW(kParamDword, Data32),                          // 24
    TFM_ROW(kParamWord, DataHandle),                       // 25
    TFM_ROW(kParamWord, DataLength),                       // 26
    TFM_ROW(kParamStruct, FacilityConfirmationParameter),  // 27
    TFM_ROW(kParamStruct, Facilitydataarray),              // 28
    TFM_ROW(kParamStruct, FacilityIndicationParameter),    // 29
    TFM_ROW(kParamStruct, FacilityRequestParameter),       // 30
    TFM_ROW(kParamStruct, FacilityResponseParameters),     // 31
    TFM_ROW(kParamWord, FacilitySelector),                 // 32
    TFM_ROW(kParamWord, Flags),                            // 33
    TFM_ROW(kParamDword, Function),                        // 34
    TFM_ROW(kParamStruct, HLC),                            // 35
    TFM_ROW(kParamWord, Info),                             // 36
    TFM_ROW(kParamStruct, InfoElement),                    // 37
    TFM_ROW(kParamDword, InfoMask),                        // 38
    TFM_ROW(kParamWord, InfoNumber),                       // 39
    TFM_ROW(kParamStruct, Keypadfacility),                 // 40
    TFM_ROW(kParamStruct, LLC),                            // 41
    TFM_ROW(kParamStruct, ManuData),                       // 42
    TFM_ROW(kParamDword, ManuID),                          // 43
    TFM_ROW(kParamStruct, NCPI),                           // 44
    TFM_ROW(kParamWord, Reason),                           // 45
    TFM_ROW(kParamWord, Reason_B3),                        // 46
    TFM_ROW(kParamWord, Reject),                           // 47
    TFM_ROW(kParamStruct, Useruserdata),                   // 48
};

#undef TFM_ROW

namespace {

// Parameter lists: row numbers in wire order, closed by row 1, zero-terminated. A nested parameter is
// its own row, its inner rows and a row 1. Messages with the same parameters share one list.
//   B protocol      = 13, 6, 8, 10, 5, 7, 9, 1
//   Additional Info = 4, 12, 40, 48, 28, 1
const uint8_t kAddressOnly[] = {3, 1, 0};
const uint8_t kAddressInfo[] = {3, 36, 1, 0};
const uint8_t kAddressNcpi[] = {3, 44, 1, 0};
const uint8_t kAddressAdditionalInfo[] = {3, 4, 12, 40, 48, 28, 1, 1, 0};
const uint8_t kConnectReq[] = {3, 20, 14, 16, 15, 17, 13, 6, 8, 10, 5, 7, 9, 1, 11, 41, 35, 4, 12, 40, 48, 28, 1, 1, 0};
const uint8_t kConnectInd[] = {3, 20, 14, 16, 15, 17, 11, 41, 35, 4, 12, 40, 48, 28, 1, 1, 0};
const uint8_t kConnectResp[] = {3, 47, 13, 6, 8, 10, 5, 7, 9, 1, 22, 23, 41, 4, 12, 40, 48, 28, 1, 1, 0};
const uint8_t kConnectActiveInd[] = {3, 22, 23, 41, 1, 0};
const uint8_t kDisconnectInd[] = {3, 45, 1, 0};
const uint8_t kListenReq[] = {3, 38, 18, 19, 16, 17, 1, 0};
const uint8_t kInfoReq[] = {3, 14, 4, 12, 40, 48, 28, 1, 1, 0};
const uint8_t kInfoInd[] = {3, 39, 37, 1, 0};
const uint8_t kSelectBProtocolReq[] = {3, 13, 6, 8, 10, 5, 7, 9, 1, 1, 0};
const uint8_t kFacilityReq[] = {3, 32, 30, 1, 0};
const uint8_t kFacilityConf[] = {3, 36, 32, 27, 1, 0};
const uint8_t kFacilityInd[] = {3, 32, 29, 1, 0};
const uint8_t kFacilityResp[] = {3, 32, 31, 1, 0};
const uint8_t kConnectB3Resp[] = {3, 47, 44, 1, 0};
const uint8_t kDisconnectB3Ind[] = {3, 46, 44, 1, 0};
const uint8_t kDataB3[] = {3, 24, 26, 25, 33, 1, 0};
const uint8_t kDataB3Conf[] = {3, 25, 36, 1, 0};
const uint8_t kDataB3Resp[] = {3, 25, 1, 0};
const uint8_t kManufacturer[] = {3, 43, 21, 34, 42, 1, 0};

}  // namespace

const uint8_t* const kParameterListSlots[kListSlotCount] = {
    // REQ
    nullptr, kAddressAdditionalInfo, kConnectReq, nullptr, kAddressAdditionalInfo, kListenReq, nullptr, nullptr,
    kInfoReq, kFacilityReq, kSelectBProtocolReq, kAddressNcpi, nullptr, kAddressNcpi, nullptr, kDataB3,
    kAddressNcpi, nullptr,
    // CONF; position 6 is MANUFACTURER_REQ (index 24)
    nullptr, kAddressInfo, kAddressInfo, nullptr, kAddressInfo, kAddressInfo, kManufacturer, nullptr,
    kAddressInfo, kFacilityConf, kAddressInfo, kAddressInfo, nullptr, kAddressInfo, nullptr, kDataB3Conf,
    kAddressInfo, nullptr,
    // IND; position 6 is MANUFACTURER_CONF
    nullptr, nullptr, kConnectInd, kConnectActiveInd, kDisconnectInd, nullptr, kManufacturer, nullptr,
    kInfoInd, kFacilityInd, nullptr, kAddressNcpi, kAddressNcpi, kDisconnectB3Ind, nullptr, kDataB3,
    kAddressNcpi, kAddressNcpi,
    // RESP; position 6 is MANUFACTURER_IND
    nullptr, nullptr, kConnectResp, kAddressOnly, kAddressOnly, nullptr, kManufacturer, nullptr,
    kAddressOnly, kFacilityResp, nullptr, kConnectB3Resp, kAddressOnly, kAddressOnly, nullptr, kDataB3Resp,
    kAddressOnly, kAddressOnly,
    // 72..77 empty, 78 MANUFACTURER_RESP
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, kManufacturer};

namespace {

constexpr int8_t CommandIndex(uint8_t command) {
  switch (command) {
    case kCapiAlert:
    case kCapiConnect:
    case kCapiConnectActive:
    case kCapiDisconnect:
    case kCapiListen:
    case kCapiInfo:
      return static_cast<int8_t>(command);
    case kCapiSelectBProtocol:
      return 10;
    case kCapiFacility:
    case kCapiConnectB3:
    case kCapiConnectB3Active:
    case kCapiDisconnectB3:
    case kCapiDataB3:
    case kCapiResetB3:
    case kCapiConnectB3T90Active:
    case kCapiManufacturer:
      return static_cast<int8_t>((command & 0x0F) + 9);
    default:
      return -1;
  }
}

}  // namespace

constinit const std::array<int8_t, 256> kCommandIndexes = [] {
  std::array<int8_t, 256> indexes{};
  for (size_t command = 0; command < indexes.size(); ++command) {
    indexes[command] = CommandIndex(static_cast<uint8_t>(command));
  }
  return indexes;
}();

}  // namespace tfm
