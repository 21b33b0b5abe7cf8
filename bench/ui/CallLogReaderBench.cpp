// Reading back a large call log as the writer stores it (CR LF endings) into the call page's index,
// which is then sorted by a number and by the moment.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "calllog/CallLogIndex.h"

namespace {

const std::string kPath = "/tmp/tfm_bench_isdncall.log";

// Moments repeat and are out of order, as in a log whose clock was set back now and then.
void WriteLog(int lines) {
  std::FILE* file = std::fopen(kPath.c_str(), "wb");
  for (int i = 0; i < lines; ++i) {
    std::fprintf(file, "IN %d 0301%06d 2005-%02d-%02d %02d:%02d:%02d\r\n", 4711 + i % 7, i, 1 + i % 12, 1 + i % 28,
                 i / 3600 % 24, i / 60 % 60, i % 60);
  }
  std::fclose(file);
}

void BM_IndexCallLog(benchmark::State& state) {
  WriteLog(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const tfm::CallLogIndex index(tfm::ReadCallLogTail(kPath, uint64_t{1} << 30));
    benchmark::DoNotOptimize(index.RowCount());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::remove(kPath.c_str());
}
BENCHMARK(BM_IndexCallLog)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Argument 1: the column (1 caller, 3 date and time).
void BM_SortCallLog(benchmark::State& state) {
  WriteLog(1000000);
  tfm::CallLogIndex index(tfm::ReadCallLogTail(kPath, uint64_t{1} << 30));
  for (auto _ : state) {
    index.Sort(static_cast<int>(state.range(0)), true);
    benchmark::DoNotOptimize(index.Cell(0, 0));
    state.PauseTiming();
    index.Sort(-1, true);
    state.ResumeTiming();
  }
  std::remove(kPath.c_str());
}
BENCHMARK(BM_SortCallLog)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond);

}  // namespace
