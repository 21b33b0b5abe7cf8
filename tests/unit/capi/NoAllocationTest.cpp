// The message path allocates nothing: packing writes into the caller's buffer, unpacking reads in place,
// and a dispatch pass copies numbers into fixed buffers, follows calls in a table allocated beforehand
// and composes its texts and trace lines on the stack.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CountingNew.h"
#include "MonitorFixture.h"
#include "NullPorts.h"
#include "common/Trace.h"

namespace tfm::test {
namespace {

TEST(NoAllocationTest, PackAndUnpackAllocateNothing) {
  const Bytes connectInd = Wire(1, 0x02, 0x82, 1, {Dword(0x0101), Word(16), {0x02, 0x81, '1'}, {0x03, 0x01, 0x80, '2'},
                                                   {0}, {0}, {0}, {0}, {0}, {0x04, 0, 0, 0, 0}});
  uint8_t buffer[2048];
  CMsg cmsg;
  const long before = AllocationCount();
  ASSERT_EQ(0u, CMsgUnpack(cmsg, connectInd.data()));
  cmsg.Subcommand = kCapiResp;
  cmsg.Reject = 2;
  ASSERT_EQ(0u, CMsgPack(cmsg, buffer, sizeof buffer));
  EXPECT_EQ(before, AllocationCount());
}

// A provider that hands out a queue prepared beforehand, then reports an overflow, and keeps nothing of
// what is put.
std::vector<const Bytes*> g_queue;
size_t g_fetched = 0;
int g_put = 0;
int g_traceLines = 0;

CapiDword CAPI_CALL Get(CapiDword, void** message) {
  if (g_fetched == g_queue.size()) return kCapiQueueOverflow;
  *message = const_cast<uint8_t*>(g_queue[g_fetched++]->data());
  return 0;
}
CapiDword CAPI_CALL Put(CapiDword, void*) { return ++g_put, 0; }
void CountLine(const char*) { ++g_traceLines; }

TEST(NoAllocationTest, DispatchPassesWithTraceLinesAllocateNothing) {
  // Long numbers, past any in-place string storage; more calls than the table holds, so that one is
  // reclaimed; a known disconnect reason and a damaged DISCONNECT_IND; an overflow reported twice.
  const std::string digits(40, '7');
  std::vector<Bytes> messages;
  for (size_t n = 0; n <= CallTable::kCapacity; ++n) messages.push_back(ConnectInd(Plci(n), 1, digits, digits));
  messages.push_back(DisconnectInd(Plci(1), 2, 0x3490));
  messages.push_back(DamagedDisconnectInd(Plci(2), 3));
  g_queue.clear();
  for (const Bytes& m : messages) g_queue.push_back(&m);
  g_fetched = 0;
  g_put = g_traceLines = 0;
  CapiEntryPoints entryPoints;
  entryPoints.CAPI_GET_MESSAGE = &Get;
  entryPoints.CAPI_PUT_MESSAGE = &Put;
  NullTray tray;
  NullCallLog log;
  std::atomic<int32_t> workersRunning{1};
  CallActivity activity;
  CIsdnMonitor monitor(entryPoints, tray, log, workersRunning, activity, [](uint32_t) {});
  const TraceSink previous = SetTraceSink(&CountLine);

  const long before = AllocationCount();
  while (g_fetched < g_queue.size()) monitor.Handle_CAPI_Msg();
  monitor.Handle_CAPI_Msg();
  monitor.Handle_CAPI_Msg();
  const long allocations = AllocationCount() - before;

  SetTraceSink(previous);
  EXPECT_EQ(0, allocations);
  EXPECT_EQ(digits, monitor.calledNumber());
  EXPECT_EQ(2, g_put) << "two DISCONNECT_RESP, no CONNECT_RESP";
  // A count of calls for each call taken; two lines each for the reclaim, the ended call and the
  // damaged hang-up (with their counts); the overflow once.
  EXPECT_EQ(static_cast<int>(CallTable::kCapacity) + 2 * 3 + 1, g_traceLines);
}

}  // namespace
}  // namespace tfm::test
