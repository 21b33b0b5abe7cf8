// Indexing a large call log as the writer stores it (CR LF endings) for the call page, sorting the index
// by a number and by the moment, naming its callers from a phone book, and searching it as the user types.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "MapPhoneBook.h"
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

// Every caller of the log is asked for once, as when the page opens or the book has changed.
void BM_NameCallers(benchmark::State& state) {
  tfm::CallLogIndex index(MakeLog(1000000));
  tfm::test::MapPhoneBook book = tfm::test::CustomersBook();
  index.UseNames(&book);
  for (auto _ : state) {
    ++book.generation;
    benchmark::DoNotOptimize(index.RefreshNames());
  }
}
BENCHMARK(BM_NameCallers)->Unit(benchmark::kMillisecond);

// One keystroke of a search over 1,000,000 calls: from no text to the text, the worst case (a text that
// grows from the last one searches only the rows that one kept). Typical texts: an area code, an
// extension, part of a name, a text that nothing holds.
const char* const kSearchTexts[] = {"0301", "4711", "m\xC3\xBCller", "Kunde 7", "zzz"};

void BM_SearchKeystroke(benchmark::State& state) {
  tfm::CallLogIndex index(MakeLog(1000000));
  const tfm::test::MapPhoneBook book = tfm::test::CustomersBook();
  index.UseNames(&book);
  index.RefreshNames();  // once per generation of the book, not per keystroke
  const char* text = kSearchTexts[state.range(0)];
  state.SetLabel(text);
  for (auto _ : state) {
    index.Filter(text);
    benchmark::DoNotOptimize(index.RowCount());
    state.PauseTiming();
    index.Filter("");
    state.ResumeTiming();
  }
}
BENCHMARK(BM_SearchKeystroke)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// Typing "03015" one key at a time, and deleting it again: each step narrows or widens the last.
void BM_SearchTyping(benchmark::State& state) {
  tfm::CallLogIndex index(MakeLog(1000000));
  const std::string typed = "03015";
  for (auto _ : state) {
    for (size_t length = 1; length <= typed.size(); ++length) index.Filter(typed.substr(0, length));
    for (size_t length = typed.size(); length-- > 0;) index.Filter(typed.substr(0, length));
    benchmark::DoNotOptimize(index.RowCount());
  }
  state.SetItemsProcessed(state.iterations() * 2 * static_cast<int64_t>(typed.size()));
}
BENCHMARK(BM_SearchTyping)->Unit(benchmark::kMillisecond);

}  // namespace
