#include "MonitorFixture.h"

namespace tfm::test {
namespace {

using DispatchTest = MonitorTest;

TEST_F(DispatchTest, NumbersAreTakenAsTheyStand) {
  struct Case {
    const char* name;
    Bytes called;
    Bytes calling;
    const char* tip;
    const char* line;
  };
  const Case cases[] = {
      {"calling withheld", {0x05, 0x81, '4', '7', '1', '1'}, {0x02, 0x01, 0xA0}, "incoming call from  to 4711",
       "IN|4711|"},
      {"zero byte ends the digits", {0x04, 0x81, '1', 0x00, '2'}, {0x03, 0x01, 0x80, '7'}, "incoming call from 7 to 1",
       "IN|1|7"},
      {"empty structs", {0x00}, {0x00}, "incoming call from  to ", "IN||"},
      {"type octet only", {0x01, 0x81}, {0x01, 0x01}, "incoming call from  to ", "IN||"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tray.Clear();
    log.lines.clear();
    capi.queue = {Wire(1, 0x02, 0x82, 1, {Dword(0x0101), Word(16), c.called, c.calling, {0}, {0}, {0}, {0}, {0}, {0}})};
    Run();
    EXPECT_EQ(std::vector<std::string>{c.tip}, tray.Tips());
    EXPECT_EQ(std::vector<std::string>{c.line}, log.lines);
  }
}

TEST_F(DispatchTest, RepeatedIndicationForACallReusesItsSlot) {
  capi.queue = {ConnectInd(0x0101, 1, "1", "2"), ConnectInd(0x0101, 2, "11", "22"), ConnectInd(0x0201, 3, "5", "6")};
  Run();
  EXPECT_TRUE(Put(kConnectResp).empty());
  EXPECT_EQ((std::vector<std::string>{"IN|1|2", "IN|11|22", "IN|5|6"}), log.lines);
  EXPECT_EQ("11", CalledNumberText(monitor->calls()[0].calledNumberCopy));
  EXPECT_EQ(0x0201u, monitor->calls()[1].PLCI);
}

TEST_F(DispatchTest, DisconnectIsAlwaysAnsweredAndFreesTheSlot) {
  capi.queue = {ConnectInd(0x0101, 1, "1", "2"), ConnectInd(0x0201, 2, "3", "4"), DisconnectInd(0x0101, 3, 0x3490),
                DisconnectInd(0x0999, 4, 0), ConnectInd(0x0301, 5, "5", "6"), DisconnectInd(0x0201, 6, 0),
                DisconnectInd(0x0201, 7, 0x3490)};  // a freed slot keeps its PLCI but is no longer found by it
  Run();
  const std::vector<Bytes> answers = Put(kDisconnectResp);
  ASSERT_EQ(4u, answers.size());
  EXPECT_EQ((Wire(1, 0x04, 0x83, 3, {Dword(0x0101)})), answers[0]);
  EXPECT_EQ((Wire(1, 0x04, 0x83, 4, {Dword(0x0999)})), answers[1]);
  EXPECT_TRUE(Put(kConnectResp).empty()) << "the freed slot takes the next call";
  EXPECT_EQ(0x0301u, monitor->calls()[0].PLCI);
  EXPECT_FALSE(monitor->calls()[1].inUse);
  EXPECT_TRUE(trace.Contains("Disconnect reason: Disconnect from the network "));
  EXPECT_EQ(1, trace.CountStartingWith("Disconnect reason"));
  EXPECT_EQ(3u, tray.Tips().size()) << "a cleared call leaves the tooltip alone";
  EXPECT_EQ(2, activity.TakePeak()) << "both slots were in use, though no call is in progress at the end";
  EXPECT_EQ(0, activity.TakePeak()) << "a stopped monitor follows no call";
}

TEST_F(DispatchTest, SevenQueuedMessagesTakeTwoPasses) {
  for (uint16_t n = 1; n <= 7; ++n) capi.queue.push_back(Wire(1, 0x08, 0x82, n, {Dword(0x0101), Word(0x0070), {0}}));
  Run();
  ASSERT_EQ(8u, capi.put.size());
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(kInfoResp, CommandOf(capi.put[i])) << i;
  EXPECT_EQ(kListenReq, CommandOf(capi.put[6])) << "LISTEN goes out after the first pass";
  EXPECT_EQ((Wire(1, 0x08, 0x83, 7, {Dword(0x0101)})), capi.put[7]);
}

TEST_F(DispatchTest, B3LinkIsFollowedAndClearedWithItsCall) {
  capi.queue = {ConnectInd(0x0101, 1, "1", "2"),
                Wire(1, 0x82, 0x82, 2, {Dword(0x00010101), {0x00}}),                   // CONNECT_B3_IND
                Wire(1, 0x83, 0x82, 3, {Dword(0x00010101), {0x00}}),                   // CONNECT_B3_ACTIVE_IND
                Wire(1, 0x86, 0x82, 4, {Dword(0x00010101), Dword(0), Word(4), Word(0x33), Word(0)}),  // DATA_B3_IND
                Wire(1, 0x84, 0x81, 5, {Dword(0x00010101), Word(0)}),                  // DISCONNECT_B3_CONF
                Wire(1, 0x84, 0x82, 6, {Dword(0x00010101), Word(0), {0x00}}),          // DISCONNECT_B3_IND
                // A second call whose B3 link the remote side clears: the call itself stays.
                ConnectInd(0x0201, 7, "3", "4"), Wire(1, 0x82, 0x82, 8, {Dword(0x00010201), {0x00}}),
                Wire(1, 0x83, 0x82, 9, {Dword(0x00010201), {0x00}}),
                Wire(1, 0x84, 0x82, 10, {Dword(0x00010201), Word(0), {0x00}})};
  Run();
  std::erase_if(capi.put, [](const Bytes& m) { return CommandOf(m) == kListenReq; });
  const std::vector<Bytes> expected = {
      Wire(1, 0x82, 0x83, 2, {Dword(0x00010101), Word(0), {0x00}}),
      Wire(1, 0x83, 0x83, 3, {Dword(0x00010101)}),
      Wire(1, 0x86, 0x83, 4, {Dword(0x00010101), Word(0x33)}),
      Wire(1, 0x84, 0x83, 6, {Dword(0x00010101)}),
      Wire(1, 0x04, 0x80, 0, {Dword(0x0101), {0x04, 0, 0, 0, 0}}),
      Wire(1, 0x82, 0x83, 8, {Dword(0x00010201), Word(0), {0x00}}),
      Wire(1, 0x83, 0x83, 9, {Dword(0x00010201)}),
      Wire(1, 0x84, 0x83, 10, {Dword(0x00010201)}),
  };
  EXPECT_EQ(expected, capi.put);
  EXPECT_EQ(kNoAddress, monitor->calls()[0].NCCI);
}

TEST_F(DispatchTest, FailedConfirmations) {
  capi.queue = {ConnectInd(0x0101, 1, "1", "2"),
                Wire(1, 0x82, 0x81, 2, {Dword(0x00010101), Word(0x2004)}),  // CONNECT_B3_CONF for our call
                Wire(1, 0x82, 0x81, 3, {Dword(0x00010555), Word(0x2004)}),  // ... for an unknown PLCI
                Wire(1, 0x04, 0x81, 4, {Dword(0x0777), Word(0x2002)}),      // DISCONNECT_CONF, no slot
                Wire(1, 0x05, 0x81, 5, {Dword(1), Word(0x00FF)}),           // LISTEN_CONF, highest success
                Wire(1, 0x05, 0x81, 6, {Dword(1), Word(0x0100)})};          // LISTEN_CONF, lowest error
  Run();
  const std::vector<Bytes> clears = Put(kDisconnectReq);
  ASSERT_EQ(1u, clears.size());
  EXPECT_EQ(0x0101u, AddressOf(clears[0]));
  EXPECT_TRUE(trace.Contains("Error: Info value indicates error  no NCCI available, function Handle_Confirmation"));
  EXPECT_TRUE(trace.Contains("Error: invalid PLCI in CONNECT_B3_CONF  no NCCI available"));
  EXPECT_TRUE(trace.Contains("Disconnect confirmation Error: normal clearing"));
  EXPECT_EQ(4, trace.CountStartingWith("Error: Info value"));
}

TEST_F(DispatchTest, UnexpectedMessagesAreTracedAndNotAnswered) {
  capi.queue = {Wire(1, 0x88, 0x82, 1, {Dword(0x00010101), {0x00}}),  // CONNECT_B3_T90_ACTIVE_IND
                Wire(1, 0x01, 0x82, 2, {Dword(0x0101)}),              // no ALERT_IND in the standard: ends the pass
                ConnectInd(0x0101, 3, "1", "2"),
                Wire(1, 0x04, 0x83, 4, {Dword(0x0101)}),              // a response: ends the pass
                ConnectInd(0x0201, 5, "3", "4")};
  Run();
  EXPECT_EQ(1u, capi.put.size()) << "nothing but LISTEN_REQ was put";
  for (const char* line : {"ZurEvareruv Error: Indication not handled in function Handle_Indication",
                           "Error: CAPI_GET_CMSG returns Info != 0 in function Handle_CAPI_Msg:  illegal command or "
                           "subcommand, or message length less than 12 octets",
                           "Error: Unknown subcommand in function Handle_CAPI_Msg : normal clearing"}) {
    EXPECT_TRUE(trace.Contains(line)) << line;
  }
  EXPECT_EQ(std::vector<std::string>{"IN|1|2"}, log.lines) << "each refusal ends its pass";
}

}  // namespace
}  // namespace tfm::test
