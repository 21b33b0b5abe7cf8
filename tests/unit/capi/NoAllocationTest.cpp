// The message path allocates nothing: packing writes into the caller's buffer, unpacking reads in place,
// and a dispatch pass copies numbers into fixed buffers and composes its texts and trace lines on the
// stack.
#include <gtest/gtest.h>

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

// A provider that hands out a fixed queue and then an error, and keeps nothing of what is put.
const Bytes* g_queue[5];
int g_fetched = 0;
int g_put = 0;
int g_traceLines = 0;

CapiDword CAPI_CALL Get(CapiDword, void** message) {
  if (g_fetched == 5) return 0x1105;  // queue overflow: ends the pass with a trace line
  *message = const_cast<uint8_t*>(g_queue[g_fetched++]->data());
  return 0;
}
CapiDword CAPI_CALL Put(CapiDword, void*) { return ++g_put, 0; }
void CountLine(const char*) { ++g_traceLines; }

TEST(NoAllocationTest, DispatchPassWithTraceLinesAllocatesNothing) {
  // Long numbers, past any in-place string storage; a third call while both slots are busy is
  // rejected; the known and the unknown disconnect reason are traced.
  const std::string digits(40, '7');
  const Bytes messages[] = {ConnectInd(0x0101, 1, digits, digits), ConnectInd(0x0201, 2, digits, digits),
                            ConnectInd(0x0301, 3, "5", "6"), DisconnectInd(0x0101, 4, 0x3490),
                            DisconnectInd(0x0201, 5, 0x3305)};
  for (int i = 0; i < 5; ++i) g_queue[i] = &messages[i];
  g_fetched = g_put = g_traceLines = 0;
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
  monitor.Handle_CAPI_Msg();
  const long allocations = AllocationCount() - before;

  SetTraceSink(previous);
  EXPECT_EQ(0, allocations);
  EXPECT_EQ(digits, monitor.calledNumber());
  EXPECT_EQ(3, g_put) << "CONNECT_RESP and two DISCONNECT_RESP";
  EXPECT_EQ(3, g_traceLines) << "two disconnect reasons and the fetch error";
}

}  // namespace
}  // namespace tfm::test
