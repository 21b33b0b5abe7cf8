// Reading back a large call log: 100,000 lines as the writer stores them (CR LF endings).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "calllog/CallLogReader.h"

namespace {

std::string WriteLog(int lines) {
  const std::string path = "/tmp/tfm_bench_isdncall.log";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  for (int i = 0; i < lines; ++i) {
    std::fprintf(file, "IN %d 0301%06d 2005-03-01 14:%02d:%02d\r\n", 4711 + i % 10, i, i / 60 % 60, i % 60);
  }
  std::fclose(file);
  return path;
}

void BM_ReadCallLog(benchmark::State& state) {
  const std::string path = WriteLog(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto rows = tfm::ReadCallLog(path);
    benchmark::DoNotOptimize(rows.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::remove(path.c_str());
}
BENCHMARK(BM_ReadCallLog)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
