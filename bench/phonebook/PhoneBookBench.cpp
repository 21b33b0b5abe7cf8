// The phone book at its bound: reading a file of 100,000 entries (what a change costs the thread pool),
// and the name for a caller (what an offered call and each drawn row of the call list cost).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "MemoryPhoneBookStore.h"

namespace {

// Numbers written the ways people write them, names of a usual length.
std::string MakeBook(int entries) {
  std::string book = "\xEF\xBB\xBF# Kunden\r\n";
  char line[96];
  const char* forms[] = {"030 %07d;Kunde %d GmbH\r\n", "+49 30 %07d;\"Kunde %d, Berlin\"\r\n",
                         "0049-30/%07d,Kunde %d\r\n"};
  for (int i = 0; i < entries; ++i) {
    const int length = std::snprintf(line, sizeof line, forms[i % 3], 1000000 + i, i);
    book.append(line, static_cast<size_t>(length));
  }
  return book;
}

void BM_ReadBook(benchmark::State& state) {
  tfm::test::MemoryPhoneBookStore store;
  store.location = {"49", "30"};
  tfm::PhoneBook book(store, nullptr);
  const std::string text = MakeBook(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    store.Save(text);
    benchmark::DoNotOptimize(book.Refresh());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ReadBook)->Arg(100000)->Unit(benchmark::kMillisecond);

// Argument 0: a caller the book names (written without the area code), 1: one it does not.
void BM_NameFor(benchmark::State& state) {
  tfm::test::MemoryPhoneBookStore store;
  store.location = {"49", "30"};
  store.Save(MakeBook(100000));
  tfm::PhoneBook book(store, nullptr);
  book.Refresh();
  const char* caller = state.range(0) == 0 ? "1050000" : "0401050000";
  for (auto _ : state) benchmark::DoNotOptimize(book.NameFor(caller));
}
BENCHMARK(BM_NameFor)->Arg(0)->Arg(1);

}  // namespace
