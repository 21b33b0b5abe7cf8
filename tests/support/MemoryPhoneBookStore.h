#pragma once
// A phone book file held in memory, with the settings it is read and written with: the tests write it
// as a user would and read what the book wrote.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "phonebook/PhoneBook.h"

namespace tfm::test {

class MemoryPhoneBookStore final : public IPhoneBookStore {
 public:
  // As the user saves the file: a new stamp.
  void Save(std::string text) {
    file = std::move(text);
    ++m_saves;
  }

  std::uint64_t Stamp() override { return file ? m_saves : 0; }
  ReadResult Read(std::string& bytes, std::string& error) override {
    if (readFails) return error = "locked", ReadResult::kFailed;
    bytes = file.value_or("");
    return file ? ReadResult::kRead : ReadResult::kMissing;
  }
  bool Replace(const std::string& bytes, std::string& error) override {
    if (writeFails) return error = "read-only", false;
    Save(bytes);
    return true;
  }
  char Separator() override { return separator; }
  DialingLocation Location() override { return location; }

  std::optional<std::string> file;  // none: the file is missing
  bool readFails = false;
  bool writeFails = false;
  char separator = ';';
  DialingLocation location;

 private:
  std::uint64_t m_saves = 0;
};

}  // namespace tfm::test
