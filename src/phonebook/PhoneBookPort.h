#pragma once
// The user's phone book as the rest of the program sees it: a name for a number, and a way to name a
// number. The book is read from the user's file at start and again whenever the file changes, so
// readers ask it each time rather than keep what it said.
#include <cstdint>
#include <string>
#include <string_view>

namespace tfm {

class IPhoneBook {
 public:
  // The name the book holds for a number as the call log writes it (national, international with "+"
  // or "00", or without the area code); empty when the book has none, or the number is withheld
  // (empty). Safe to call from any thread.
  virtual std::string NameFor(std::string_view number) const = 0;
  // Adds the number with that name, or changes the name it has, and writes the file. false with the
  // system's reason in `error` when the file cannot be written; the book is then unchanged.
  virtual bool SetName(std::string_view number, std::string_view name, std::string& error) = 0;
  // Changes whenever the book's entries change (read again or named), so that a reader holding names
  // knows to ask again.
  virtual std::uint64_t Generation() const = 0;

 protected:
  ~IPhoneBook() = default;
};

}  // namespace tfm
