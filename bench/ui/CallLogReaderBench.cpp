// Indexing a large call log as the writer stores it (CR LF endings) for the call page, and sorting the
// index by a number and by the moment.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "calllog/CallLogIndex.h"

namespace {

// Moments repeat and are out of order, as in a log whose clock was set back now and then.
std::string MakeLog(int lines) {
  std::string log;
  char line[64];
  for (int i = 0; i < lines; ++i) {
    const int length = std::snprintf(line, sizeof line, "IN %d 0301%06d 2005-%02d-%02d %02d:%02d:%02d\r\n",
                                     4711 + i % 7, i, 1 + i % 12, 1 + i % 28, i / 3600 % 24, i / 60 % 60, i % 60);
    log.append(line, static_cast<size_t>(length));
  }
  return log;
}

void BM_IndexCallLog(benchmark::State& state) {
  const std::string log = MakeLog(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const tfm::CallLogIndex index(log);
    benchmark::DoNotOptimize(index.RowCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_IndexCallLog)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Argument 1: the column (1 caller, 3 date and time).
void BM_SortCallLog(benchmark::State& state) {
  tfm::CallLogIndex index(MakeLog(1000000));
  for (auto _ : state) {
    index.Sort(static_cast<int>(state.range(0)), true);
    benchmark::DoNotOptimize(index.Cell(0, 0));
    state.PauseTiming();
    index.Sort(-1, true);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SortCallLog)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace
