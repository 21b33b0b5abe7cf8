#pragma once
// A phone book held in memory, for the call list's tests and benchmarks: names by exact number, a count
// of the questions asked, and a refusal to name when the test says so; and the book the benchmarks name
// the callers of their logs from.
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>

#include "phonebook/PhoneBookPort.h"

namespace tfm::test {

class MapPhoneBook final : public IPhoneBook {
 public:
  std::string NameFor(std::string_view number) const override {
    ++asked;
    const auto entry = names.find(std::string(number));
    return entry == names.end() ? std::string() : entry->second;
  }
  bool SetName(std::string_view number, std::string_view name, std::string& error) override {
    if (!refusal.empty()) {
      error = refusal;
      return false;
    }
    names[std::string(number)] = name;
    ++generation;
    return true;
  }
  uint64_t Generation() const override { return generation; }

  std::map<std::string, std::string> names;
  uint64_t generation = 1;
  std::string refusal;  // the reason SetName fails with, when not empty
  mutable int asked = 0;
};

// A thousand names, of the callers 0301000000, 0301001000, ...: one in a thousand calls of the benchmarks'
// logs is named.
inline MapPhoneBook CustomersBook() {
  MapPhoneBook book;
  char number[16];
  for (int i = 0; i < 1000000; i += 1000) {
    std::snprintf(number, sizeof number, "0301%06d", i);
    book.names[number] = "Kunde " + std::to_string(i / 1000) + " M\xC3\xBCller";
  }
  return book;
}

}  // namespace tfm::test
