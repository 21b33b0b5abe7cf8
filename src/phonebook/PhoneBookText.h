#pragma once
// The phone book file's text: one entry a line, the number, then the name. The first ';' or ',' ends
// the number (both are read, so a file written under any list separator reads the same); quotes as a
// spreadsheet writes them are honoured; blank lines and lines starting with '#' are remarks. A line
// that is none of these is skipped on its own.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "phonebook/PhoneNumberKey.h"

namespace tfm {

// Bounds on what one file may hold: a longer field is a broken line, entries past the count and bytes
// past the length are not read.
inline constexpr size_t kPhoneNumberMaxLength = 64;
inline constexpr size_t kPhoneNameMaxLength = 200;  // bytes of UTF-8
inline constexpr size_t kPhoneBookMaxEntries = 100'000;
inline constexpr size_t kPhoneBookMaxLength = 16u << 20;

struct PhoneBookEntry {
  std::string number;  // as written in the file
  std::string name;    // unquoted, trimmed, control characters as blanks
};

// What a read skipped: how many lines, and the first of them (1-based) with the reason.
struct PhoneBookProblems {
  size_t count = 0;
  size_t firstLine = 0;
  std::string firstReason;
};

struct PhoneBookContent {
  std::vector<PhoneBookEntry> entries;
  PhoneBookProblems problems;
};

// A byte-order mark at the start is skipped; lines end at LF, a CR before it is dropped.
PhoneBookContent ParsePhoneBook(std::string_view text);

// A name as the book keeps it: control characters (a tab, a line break) as blanks, outer blanks gone.
std::string CleanPhoneName(std::string_view name);

// "number<separator>name" with the name quoted where it holds ',', ';', a quote or outer blanks.
std::string PhoneBookLine(std::string_view number, std::string_view name, char separator);

// The file's text with the number named: the first line for the same number (as the location matches
// numbers) becomes the new entry and later ones for it go; without one, the entry is added at the end.
// An empty name takes the number out. Every other line stays as it was; a new file gets a byte-order
// mark, so that a spreadsheet reads it as UTF-8.
std::string PhoneBookWithName(std::string_view text, std::string_view number, std::string_view name, char separator,
                              const DialingLocation& location);

}  // namespace tfm
