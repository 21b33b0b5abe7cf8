#include "capi/CapiMessageCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "CapiWire.h"
#include "capi/CapiEntryPoints.h"

namespace tfm {
namespace {

using test::Bytes;
using test::Dword;
using test::Pack;
using test::StructBytes;
using test::Wire;
using test::Word;

CMsg Header(uint8_t command, uint8_t subcommand, uint32_t address, uint16_t applId = 1, uint16_t number = 0) {
  CMsg m{};
  m.ApplId = applId;
  m.Command = command;
  m.Subcommand = subcommand;
  m.Messagenumber = number;
  m.Address = address;
  return m;
}

// --- packing against bytes written out from the standard -----------------------------------------

TEST(CMsgPackTest, StructsAreCopiedWithTheirOwnLength) {
  Bytes escaped = {0xFF, 0x2C, 0x01};  // 300 content bytes
  for (int i = 0; i < 300; ++i) escaped.push_back(static_cast<uint8_t>(i));
  const Bytes shortStruct = {0x05, 1, 2, 3, 4, 5, 0xEE};  // the byte after the struct must not be copied
  CMsg m = Header(kCapiConnectB3, kCapiReq, 0x0101);
  m.NCPI = escaped.data();
  EXPECT_EQ(Wire(1, kCapiConnectB3, kCapiReq, 0, {Dword(0x0101), escaped}), Pack(m));
  m = Header(kCapiConnectB3, kCapiReq, 0x0101);
  m.NCPI = shortStruct.data();
  EXPECT_EQ(Wire(1, kCapiConnectB3, kCapiReq, 0, {Dword(0x0101), Bytes(shortStruct.begin(), shortStruct.end() - 1)}),
            Pack(m));
}

// B protocol whose inner part is 6 bytes of words, a B1 configuration of `configWire` bytes and two
// empty structs.
Bytes BProtocolConfig(size_t configWire) {
  Bytes config = {static_cast<uint8_t>(configWire - 1)};
  config.resize(configWire, 0x5A);
  return config;
}

TEST(CMsgPackTest, NestedStructureUsesEscapeFrom255Bytes) {
  for (size_t inner : {254u, 255u, 256u}) {
    SCOPED_TRACE(inner);
    const Bytes config = BProtocolConfig(inner - 8);
    CMsg m = Header(kCapiSelectBProtocol, kCapiReq, 0x0101);
    m.B1protocol = 1;
    m.B2protocol = 2;
    m.B3protocol = 3;
    m.B1configuration = config.data();
    Bytes innerBytes = {0x01, 0x00, 0x02, 0x00, 0x03, 0x00};
    innerBytes.insert(innerBytes.end(), config.begin(), config.end());
    innerBytes.insert(innerBytes.end(), {0x00, 0x00});
    ASSERT_EQ(inner, innerBytes.size());
    const Bytes length = inner < 255 ? Bytes{static_cast<uint8_t>(inner)} : Bytes{0xFF, static_cast<uint8_t>(inner), static_cast<uint8_t>(inner >> 8)};
    const Bytes wire = Wire(1, kCapiSelectBProtocol, kCapiReq, 0, {Dword(0x0101), length, innerBytes});
    EXPECT_EQ(wire, Pack(m));

    CMsg back;
    ASSERT_EQ(0u, CMsgUnpack(back, wire.data()));
    EXPECT_EQ(0u, back.BProtocol);
    EXPECT_EQ(3, back.B3protocol);
    EXPECT_EQ(config, StructBytes(back.B1configuration));
    EXPECT_EQ(Bytes{0x00}, StructBytes(back.B3configuration));
  }
}

// --- unpacking ------------------------------------------------------------------------------------

const Bytes kConnectInd = Wire(0x0001, kCapiConnect, kCapiInd, 0x1234,
                               {Dword(0x0101), Word(16),
                                {0x05, 0x81, '4', '7', '1', '1'},               // called party number
                                {0x05, 0x01, 0x80, '8', '1', '5'},              // calling party number
                                {0x00},                                         // called subaddress
                                {0x00},                                         // calling subaddress
                                {0x03, 0x80, 0x90, 0xA3},                       // BC
                                {0x00},                                         // LLC
                                {0x02, 0x91, 0x81},                             // HLC
                                {0x06, 0x00, 0x00, 0x02, 0xAA, 0xBB, 0x00}});  // Additional Info

TEST(CMsgUnpackTest, ConnectIndFillsItsFieldsAndNothingElse) {
  CMsg m;
  m.Reject = 7;  // stale values from an earlier message must not survive
  m.NCPI = kConnectInd.data();
  ASSERT_EQ(0u, CMsgUnpack(m, kConnectInd.data()));
  EXPECT_EQ((std::tuple{1, kCapiConnect, kCapiInd, 0x1234, 0x0101u, 16}),
            (std::tuple{int(m.ApplId), m.Command, m.Subcommand, int(m.Messagenumber), m.Address, int(m.CIPValue)}));
  EXPECT_EQ((std::vector<Bytes>{{0x05, 0x81, '4', '7', '1', '1'}, {0x05, 0x01, 0x80, '8', '1', '5'}, {0x03, 0x80, 0x90, 0xA3},
                                 {0x02, 0x91, 0x81}, {0x02, 0xAA, 0xBB}, {0x00}}),
            (std::vector<Bytes>{StructBytes(m.CalledPartyNumber), StructBytes(m.CallingPartyNumber), StructBytes(m.BC),
                                StructBytes(m.HLC), StructBytes(m.Useruserdata), StructBytes(m.Facilitydataarray)}));
  EXPECT_EQ(kConnectInd.data() + 26, m.CalledPartySubaddress) << "an empty struct points at its zero byte";
  EXPECT_EQ(0u, m.AdditionalInfo);
  EXPECT_EQ(0, m.Reject);
  EXPECT_EQ(nullptr, m.NCPI);
  EXPECT_EQ(kConnectInd.size(), m.walkOffset);
}

TEST(CMsgUnpackTest, ParametersOfLaterEditionsAreSkipped) {
  // CONNECT_REQ with one more struct inside B protocol and one more parameter at the end.
  const Bytes wire = Wire(1, kCapiConnect, kCapiReq, 0,
                          {Dword(1), Word(16), {0x00}, {0x00}, {0x00}, {0x00},
                           {0x0C, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x02, 0xEE, 0xEE},
                           {0x01, 0x42}, {0x00}, {0x00}, {0x00}, {0x03, 0x01, 0x02, 0x03}});
  CMsg m;
  ASSERT_EQ(0u, CMsgUnpack(m, wire.data()));
  EXPECT_EQ(3, m.B3protocol);
  EXPECT_EQ((Bytes{0x01, 0x42}), StructBytes(m.BC));
  EXPECT_EQ(1u, m.AdditionalInfo);
  EXPECT_EQ(wire.size(), m.walkOffset);
}

TEST(CMsgUnpackTest, RefusesWhatItCannotDecodeSafely) {
  struct Case {
    const char* name;
    Bytes wire;
    uint32_t info;
  };
  const Case cases[] = {
      {"shorter than 12", {0x0B, 0x00, 1, 0, 0x04, 0x82, 0, 0, 1, 1, 0}, kCapiIllegalCommand},
      {"length field 0", {0x00, 0x00}, kCapiIllegalCommand},
      {"command 0x09", Wire(1, 0x09, kCapiInd, 0, {Dword(1)}), kCapiIllegalCommand},
      {"command 0x90", Wire(1, 0x90, kCapiInd, 0, {Dword(1)}), kCapiIllegalCommand},
      {"subcommand 0x84", Wire(1, kCapiConnect, 0x84, 0, {Dword(1)}), kCapiIllegalCommand},
      {"empty slot LISTEN_IND", Wire(1, kCapiListen, kCapiInd, 0, {Dword(1)}), kCapiIllegalCommand},
      {"word cut short", Wire(1, kCapiDisconnect, kCapiInd, 0, {Dword(1), {0x90}}), kCapiIllegalParameterCoding},
      {"word missing", Wire(1, kCapiDisconnect, kCapiInd, 0, {Dword(1)}), kCapiIllegalParameterCoding},
      {"struct missing", Wire(1, kCapiConnectB3, kCapiInd, 0, {Dword(1)}), kCapiIllegalParameterCoding},
      {"struct overruns", Wire(1, kCapiConnectB3, kCapiInd, 0, {Dword(1), {0x03, 1, 2}}), kCapiIllegalParameterCoding},
      {"escape cut short", Wire(1, kCapiConnectB3, kCapiInd, 0, {Dword(1), {0xFF, 0x01}}),
       kCapiIllegalParameterCoding},
      {"escaped length overruns", Wire(1, kCapiConnectB3, kCapiInd, 0, {Dword(1), {0xFF, 0x00, 0x01, 1, 2}}),
       kCapiIllegalParameterCoding},
      {"inner struct overruns its nested struct",
       Wire(1, kCapiDisconnect, kCapiReq, 0, {Dword(1), {0x02, 0x00, 0x05}, {0, 0, 0, 0, 0}}),
       kCapiIllegalParameterCoding},
      {"nested struct shorter than its words",
       Wire(1, kCapiSelectBProtocol, kCapiReq, 0, {Dword(1), {0x03, 0x01, 0x00, 0x02}, {0, 0, 0, 0}}),
       kCapiIllegalParameterCoding},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Exactly as long as the header says (at least the length field), so ASan sees any overread.
    const size_t stated = c.wire[0] | size_t{c.wire[1]} << 8;
    const auto exactLength = static_cast<std::ptrdiff_t>(std::max<size_t>(2, std::min(stated, c.wire.size())));
    Bytes exact(c.wire.begin(), c.wire.begin() + exactLength);
    CMsg m;
    EXPECT_EQ(c.info, CMsgUnpack(m, exact.data()));
    EXPECT_EQ(nullptr, m.NCPI);
    if (c.info == kCapiIllegalParameterCoding) {
      // Header and address stay readable, so that a damaged message can still be answered.
      EXPECT_EQ(1u, m.Address);
      EXPECT_EQ(c.wire[4], m.Command);
      EXPECT_EQ(c.wire[5], m.Subcommand);
      EXPECT_EQ(1u, m.ApplId);
    }
  }
}

TEST(CMsgPackTest, RefusesUndefinedMessagesAndOverlongOnes) {
  uint8_t buffer[64];
  for (const auto& [command, subcommand] : {std::pair{0x09, kCapiReq}, {kCapiListen, kCapiInd}, {kCapiListen, 0x00}}) {
    CMsg m = Header(static_cast<uint8_t>(command), static_cast<uint8_t>(subcommand), 1);
    EXPECT_EQ(kCapiIllegalCommand, CMsgPack(m, buffer, sizeof buffer)) << command << "/" << subcommand;
  }
  // 2048 content bytes cannot fit into 2048 with the header; 8 header + 4 address + 3 escape + 2033
  // content bytes fit exactly. Nothing is written past the capacity.
  Bytes guarded(2048 + 16, 0xCC);
  for (const auto& [content, info] : {std::pair{2048u, kCapiIllegalParameterCoding}, {2033u, 0u}}) {
    Bytes big = {0xFF, static_cast<uint8_t>(content), static_cast<uint8_t>(content >> 8)};
    big.resize(3 + content, 0x31);
    CMsg m = Header(kCapiConnectB3, kCapiReq, 1);
    m.NCPI = big.data();
    EXPECT_EQ(info, CMsgPack(m, guarded.data(), 2048)) << content;
    if (info == 0) {
      EXPECT_EQ(2048u, m.walkOffset);
    }
    EXPECT_EQ(Bytes(16, 0xCC), Bytes(guarded.end() - 16, guarded.end()));
  }
  // The escape of a nested structure needs two more bytes than the inner part: refused when they are
  // not there.
  const Bytes config = BProtocolConfig(250);
  CMsg m = Header(kCapiSelectBProtocol, kCapiReq, 1);
  m.B1configuration = config.data();
  const size_t exactLength = 8 + 4 + 3 + 258;
  EXPECT_EQ(kCapiIllegalParameterCoding, CMsgPack(m, guarded.data(), exactLength - 1));
  EXPECT_EQ(0u, CMsgPack(m, guarded.data(), exactLength));
}

}  // namespace
}  // namespace tfm
