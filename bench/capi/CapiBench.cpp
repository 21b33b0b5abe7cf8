// Packing and unpacking the messages the monitor handles most, and one dispatch pass over six queued
// messages. A counting operator new shows what each iteration allocates ("allocs" per message).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "CountingNew.h"
#include "capi/CapiMessageCodec.h"
#include "NullPorts.h"
#include "capi/IsdnMonitor.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Wire messages written out byte by byte.
const Bytes kConnectInd = {0x2B, 0x00, 0x01, 0x00, 0x02, 0x82, 0x01, 0x00, 0x01, 0x01, 0x00, 0x00, 0x10, 0x00, 0x05,
                           0x81, '4',  '7',  '1',  '1',  0x05, 0x01, 0x80, '8',  '1',  '5',  0x00, 0x00, 0x03, 0x80,
                           0x90, 0xA3, 0x00, 0x02, 0x91, 0x81, 0x06, 0x00, 0x00, 0x02, 0xAA, 0xBB, 0x00};
const Bytes kDisconnectInd = {0x0E, 0x00, 0x01, 0x00, 0x04, 0x82, 0x02, 0x00, 0x01, 0x01, 0x00, 0x00, 0x90, 0x34};
const Bytes kConnectResp = {0x20, 0x00, 0x01, 0x00, 0x02, 0x83, 0x01, 0x00, 0x01, 0x01, 0x00, 0x00, 0x02, 0x00, 0x09, 0,
                            0,    0,    0,    0,    0,    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00};
const Bytes kListenReq = {0x1A, 0x00, 0x01, 0x00, 0x05, 0x80, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x40,
                          0x00, 0x00, 0x00, 0xFF, 0x03, 0xFF, 0x1F, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
const Bytes kDataB3Ind = {0x16, 0x00, 0x01, 0x00, 0x86, 0x82, 0x05, 0x00, 0x01, 0x01, 0x01, 0x00,
                          0x00, 0x00, 0x00, 0x00, 0x80, 0x00, 0x33, 0x00, 0x00, 0x00};

void CountAllocations(benchmark::State& state, long before) {
  state.counters["allocs"] = benchmark::Counter(static_cast<double>(tfm::test::AllocationCount() - before),
                                                benchmark::Counter::kAvgIterations);
  state.SetItemsProcessed(state.iterations());
}

void Unpack(benchmark::State& state, const Bytes& wire) {
  tfm::CMsg cmsg;
  const long before = tfm::test::AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(tfm::CMsgUnpack(cmsg, wire.data()));
    benchmark::ClobberMemory();
  }
  CountAllocations(state, before);
}

void Pack(benchmark::State& state, const Bytes& wire) {
  tfm::CMsg cmsg;
  tfm::CMsgUnpack(cmsg, wire.data());
  uint8_t buffer[2048];
  const long before = tfm::test::AllocationCount();
  for (auto _ : state) {
    benchmark::DoNotOptimize(tfm::CMsgPack(cmsg, buffer, sizeof buffer));
    benchmark::ClobberMemory();
  }
  if (std::memcmp(buffer, wire.data(), wire.size()) != 0) state.SkipWithError("pack does not reproduce the wire");
  CountAllocations(state, before);
}

BENCHMARK_CAPTURE(Unpack, CONNECT_IND, kConnectInd);
BENCHMARK_CAPTURE(Unpack, CONNECT_RESP, kConnectResp);
BENCHMARK_CAPTURE(Unpack, LISTEN_REQ, kListenReq);
BENCHMARK_CAPTURE(Unpack, DATA_B3_IND, kDataB3Ind);
BENCHMARK_CAPTURE(Pack, CONNECT_IND, kConnectInd);
BENCHMARK_CAPTURE(Pack, CONNECT_RESP, kConnectResp);
BENCHMARK_CAPTURE(Pack, LISTEN_REQ, kListenReq);
BENCHMARK_CAPTURE(Pack, DATA_B3_IND, kDataB3Ind);

// The provider side of the dispatch pass: six queued messages, handed out in order.
const uint8_t* g_queue[6];
int g_next = 6;

tfm::CapiDword CAPI_CALL Get(tfm::CapiDword, void** message) {
  if (g_next >= 6) return tfm::kCapiQueueEmpty;
  *message = const_cast<uint8_t*>(g_queue[g_next++]);
  return 0;
}
tfm::CapiDword CAPI_CALL Put(tfm::CapiDword, void*) { return 0; }

// Three offered calls, each cleared: every pass leaves the call table as it found it.
void DispatchPass(benchmark::State& state) {
  tfm::CapiEntryPoints entryPoints;
  entryPoints.CAPI_GET_MESSAGE = &Get;
  entryPoints.CAPI_PUT_MESSAGE = &Put;
  tfm::test::NullTray tray;
  tfm::test::NullCallLog log;
  std::atomic<int32_t> workersRunning{1};
  tfm::CIsdnMonitor monitor(entryPoints, tray, log, workersRunning, [](uint32_t) {});
  for (int i = 0; i < 6; i += 2) {
    g_queue[i] = kConnectInd.data();
    g_queue[i + 1] = kDisconnectInd.data();
  }
  const long before = tfm::test::AllocationCount();
  for (auto _ : state) {
    g_next = 0;
    monitor.Handle_CAPI_Msg();
  }
  state.counters["allocs"] =
      benchmark::Counter(static_cast<double>(tfm::test::AllocationCount() - before) / 6, benchmark::Counter::kAvgIterations);
  state.SetItemsProcessed(state.iterations() * 6);
}
BENCHMARK(DispatchPass);

}  // namespace
