#include <cstdio>
#include <string>

#include "MemoryPhoneBookStore.h"
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
      {"calling withheld", {0x05, 0x81, '4', '7', '1', '1'}, {0x02, 0x01, 0xA0}, "incoming call from withheld to 4711",
       "IN|4711|"},
      {"caller named", {0x05, 0x81, '4', '7', '1', '1'}, {0x05, 0x01, 0x80, '3', '0', '1'},
       "incoming call from M\xC3\xBCller GmbH (301) to 4711", "IN|4711|301"},
      {"zero byte ends the digits, name is data", {0x04, 0x81, '1', 0x00, '2'}, {0x03, 0x01, 0x80, '7'},
       "incoming call from %s%n (7) to 1", "IN|1|7"},
      {"empty structs", {0x00}, {0x00}, "incoming call from withheld to ", "IN||"},
      {"type octet only", {0x01, 0x81}, {0x01, 0x01}, "incoming call from withheld to ", "IN||"},
  };
  MemoryPhoneBookStore store;
  store.Save("301;M\xC3\xBCller GmbH\n7;%s%n\n");
  PhoneBook book(store, nullptr);
  book.Refresh();
  phoneBook = &book;
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

TEST_F(DispatchTest, RepeatedIndicationForACallReusesItsEntry) {
  capi.queue = {ConnectInd(0x0101, 1, "1", "2"), ConnectInd(0x0101, 2, "11", "22"), ConnectInd(0x0201, 3, "5", "6")};
  Run();
  EXPECT_TRUE(Put(kConnectResp).empty());
  EXPECT_EQ((std::vector<std::string>{"IN|1|2", "IN|11|22", "IN|5|6"}), log.lines);
  ASSERT_EQ(2, calls.InUseCount());
  EXPECT_EQ("11", CalledNumberText(calls[calls.FindByPlci(0x0101)].calledNumberCopy));
}

TEST_F(DispatchTest, DisconnectIsAlwaysAnsweredAndFreesItsCall) {
  capi.queue = {ConnectInd(0x0101, 1, "1", "2"), ConnectInd(0x0201, 2, "3", "4"), ConnectInd(0x0301, 3, "5", "6"),
                DisconnectInd(0x0101, 4, 0x3490), DisconnectInd(0x0999, 5, 0), DamagedDisconnectInd(0x0201, 6),
                DisconnectInd(0x0201, 7, 0x3490)};  // an ended call is not found again
  Run();
  EXPECT_TRUE(Put(kConnectResp).empty()) << "no call is accepted or refused";
  EXPECT_EQ(3u, log.lines.size());
  const std::vector<Bytes> answers = Put(kDisconnectResp);
  ASSERT_EQ(4u, answers.size());
  EXPECT_EQ((Wire(1, 0x04, 0x83, 4, {Dword(0x0101)})), answers[0]);
  EXPECT_EQ((Wire(1, 0x04, 0x83, 5, {Dword(0x0999)})), answers[1]);
  EXPECT_EQ((Wire(1, 0x04, 0x83, 6, {Dword(0x0201)})), answers[2]) << "the damaged one is answered";
  ASSERT_EQ(1, calls.InUseCount());
  EXPECT_EQ(0x0301u, calls[0].PLCI);
  EXPECT_TRUE(trace.Contains("Disconnect reason: Disconnect from the network "));
  EXPECT_TRUE(trace.Contains("capi: DISCONNECT_IND for PLCI 0x201 without a readable reason"));
  EXPECT_EQ(1, trace.CountStartingWith("Disconnect reason"));
  EXPECT_EQ(0, trace.CountStartingWith("Error:"));
  EXPECT_EQ(3u, tray.Tips().size()) << "a cleared call leaves the tooltip alone";
  EXPECT_EQ(3, activity.TakePeak()) << "three calls were in progress, though one is at the end";
  EXPECT_EQ(0, activity.TakePeak()) << "a stopped monitor follows no call";
}

// Past the table's limit the entry idle longest makes room: every offered call is still logged.
TEST_F(DispatchTest, EveryOfferedCallIsFollowedUpToTheLimitAndLoggedPastIt) {
  const size_t limit = CallTable::kCapacity;
  for (size_t n = 0; n < limit; ++n) capi.queue.push_back(ConnectInd(Plci(n), 1, "4711", std::to_string(n)));
  capi.queue.push_back(Wire(1, 0x08, 0x82, 2, {Dword(Plci(0)), Word(0x0070), {0}}));  // the first call is busy
  capi.queue.push_back(ConnectInd(Plci(limit), 3, "4711", "last"));
  Run(static_cast<int>(limit / kMessagesPerPass) + 2);
  ASSERT_TRUE(capi.queue.empty());
  EXPECT_TRUE(Put(kConnectResp).empty());
  EXPECT_EQ(limit + 1, log.lines.size());
  EXPECT_EQ("IN|4711|last", log.lines.back());
  EXPECT_EQ(static_cast<int>(limit), calls.InUseCount());
  EXPECT_LT(calls.FindByPlci(Plci(1)), 0) << "the call idle longest was reclaimed";
  for (size_t n : {size_t{0}, size_t{2}, limit - 1, limit}) EXPECT_GE(calls.FindByPlci(Plci(n)), 0) << n;
  char reclaimed[96];
  std::snprintf(reclaimed, sizeof reclaimed, "capi: call table full, reclaimed the entry of PLCI 0x%x, idle for %zu "
                "messages", static_cast<unsigned>(Plci(1)), limit);
  EXPECT_TRUE(trace.Contains(reclaimed)) << reclaimed;
  EXPECT_EQ(1, trace.CountStartingWith("capi: call table full"));
  EXPECT_EQ(static_cast<int>(limit), activity.TakePeak());
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
  EXPECT_EQ(kNoAddress, calls[0].NCCI);
}

TEST_F(DispatchTest, FailedConfirmations) {
  capi.queue = {ConnectInd(0x0101, 1, "1", "2"),
                Wire(1, 0x82, 0x81, 2, {Dword(0x00010101), Word(0x2004)}),  // CONNECT_B3_CONF for our call
                Wire(1, 0x82, 0x81, 3, {Dword(0x00010555), Word(0x2004)}),  // ... for an unknown PLCI
                Wire(1, 0x04, 0x81, 4, {Dword(0x0777), Word(0x2002)}),      // DISCONNECT_CONF, no such call
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

TEST_F(DispatchTest, UnexpectedAndUnreadableMessagesAreTracedAndNotAnswered) {
  capi.queue = {Wire(1, 0x88, 0x82, 1, {Dword(0x00010101), {0x00}}),  // CONNECT_B3_T90_ACTIVE_IND
                Wire(1, 0x01, 0x82, 2, {Dword(0x0101)}),              // no ALERT_IND in the standard: ends the pass
                ConnectInd(0x0101, 3, "1", "2"),
                Wire(1, 0x04, 0x83, 4, {Dword(0x0101)}),              // a response: ends the pass
                // A CONNECT_IND whose called number runs past its end: not a call to log or follow.
                Wire(1, 0x02, 0x82, 5, {Dword(0x0201), Word(16), {0x05, 0x81, '1'}}),
                // A DISCONNECT_IND of 11 bytes: its PLCI cannot be read, so no call can be freed.
                Bytes{0x0B, 0x00, 0x01, 0x00, 0x04, 0x82, 0x06, 0x00, 0x01, 0x01, 0x00},
                ConnectInd(0x0301, 7, "3", "4")};
  Run(3);
  EXPECT_EQ(1u, capi.put.size()) << "nothing but LISTEN_REQ was put";
  for (const char* line : {"ZurEvareruv Error: Indication not handled in function Handle_Indication",
                           "Error: CAPI_GET_CMSG returns Info != 0 in function Handle_CAPI_Msg:  illegal command or "
                           "subcommand, or message length less than 12 octets",
                           "Error: CAPI_GET_CMSG returns Info != 0 in function Handle_CAPI_Msg:  illegal message "
                           "parameter coding",
                           "Error: Unknown subcommand in function Handle_CAPI_Msg : normal clearing"}) {
    EXPECT_TRUE(trace.Contains(line)) << line;
  }
  EXPECT_EQ(std::vector<std::string>{"IN|1|2"}, log.lines) << "each refusal ends its pass";
  ASSERT_EQ(1, calls.InUseCount());
  EXPECT_EQ(0x0101u, calls[0].PLCI);
}

// A provider whose queue overflowed may report it at every poll; it is traced once until a message
// comes through again.
TEST_F(DispatchTest, QueueOverflowIsTracedOncePerEpisode) {
  capi.queue = {Wire(1, 0x08, 0x82, 1, {Dword(0x0101), Word(0x0070), {0}}),
                Wire(1, 0x08, 0x82, 2, {Dword(0x0101), Word(0x0070), {0}})};
  // Pass 1 fetches a message, then the overflow; pass 2 the overflow only; pass 3 the second message,
  // then the overflow again; pass 4 the overflow only.
  capi.failedFetches = {{1, kCapiQueueOverflow}, {2, kCapiQueueOverflow}, {4, kCapiQueueOverflow},
                        {5, kCapiQueueOverflow}};
  Run(4);
  EXPECT_EQ(2u, Put(kInfoResp).size());
  EXPECT_EQ(2, trace.CountStartingWith("Error: CAPI_GET_CMSG returns Info != 0 in function Handle_CAPI_Msg:  queue "
                                       "overflow"));
}

}  // namespace
}  // namespace tfm::test
