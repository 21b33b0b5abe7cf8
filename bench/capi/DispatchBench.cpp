// One dispatch pass over six queued messages: three offered calls, each cleared. A counting operator
// new shows what the pass allocates ("allocs" per message).
#include <benchmark/benchmark.h>

#include <atomic>

#include "BenchWire.h"
#include "CountingNew.h"
#include "NullPorts.h"
#include "capi/IsdnMonitor.h"

namespace tfm::bench {
namespace {

constexpr int kQueued = 6;

// The provider side: the queued messages, handed out in order.
const uint8_t* g_queue[kQueued];
int g_next = kQueued;

CapiDword CAPI_CALL Get(CapiDword, void** message) {
  if (g_next >= kQueued) return kCapiQueueEmpty;
  *message = const_cast<uint8_t*>(g_queue[g_next++]);
  return 0;
}
CapiDword CAPI_CALL Put(CapiDword, void*) { return 0; }

// Every pass leaves the call table as it found it.
void DispatchPass(benchmark::State& state) {
  CapiEntryPoints entryPoints;
  entryPoints.CAPI_GET_MESSAGE = &Get;
  entryPoints.CAPI_PUT_MESSAGE = &Put;
  test::NullTray tray;
  test::NullCallLog log;
  std::atomic<int32_t> workersRunning{1};
  CallActivity activity;
  CIsdnMonitor monitor(entryPoints, tray, log, workersRunning, activity, [](uint32_t) {});
  for (int i = 0; i < kQueued; i += 2) {
    g_queue[i] = kConnectInd.data();
    g_queue[i + 1] = kDisconnectInd.data();
  }
  const long before = test::AllocationCount();
  for (auto _ : state) {
    g_next = 0;
    monitor.Handle_CAPI_Msg();
  }
  state.counters["allocs"] = benchmark::Counter(static_cast<double>(test::AllocationCount() - before) / kQueued,
                                                benchmark::Counter::kAvgIterations);
  state.SetItemsProcessed(state.iterations() * kQueued);
}
BENCHMARK(DispatchPass);

}  // namespace
}  // namespace tfm::bench
