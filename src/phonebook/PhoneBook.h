#pragma once
// The phone book behind IPhoneBook: the user's file, read at start and again whenever it changes,
// held as an immutable snapshot that a read swaps in whole, so that a name is found without waiting
// for a read and a reader never sees half a book. A missing file is an empty book; broken lines are
// skipped, traced, and told once per change of the file.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>

#include "phonebook/PhoneBookPort.h"
#include "phonebook/PhoneBookText.h"
#include "phonebook/PhoneNumberKey.h"

namespace tfm {

// Where the book's file is and what the user's settings say: the file system and the registry on
// Windows, memory in tests.
class IPhoneBookStore {
 public:
  enum class ReadResult { kRead, kMissing, kFailed };
  // Changes whenever the file is written (its last-write time and length); 0 while it is missing.
  virtual std::uint64_t Stamp() = 0;
  // The whole file, at most kPhoneBookMaxLength bytes; error is the system's reason for kFailed.
  virtual ReadResult Read(std::string& bytes, std::string& error) = 0;
  // Writes the file as a whole, or leaves it as it was and gives the reason.
  virtual bool Replace(const std::string& bytes, std::string& error) = 0;
  // The user's list separator, the one character a written entry is separated by.
  virtual char Separator() = 0;
  virtual DialingLocation Location() = 0;

 protected:
  ~IPhoneBookStore() = default;
};

class PhoneBook final : public IPhoneBook {
 public:
  // Told, once per change of the file, what a read skipped: the first broken line and the count.
  using BrokenLinesNotice = std::function<void(const std::string& text)>;
  PhoneBook(IPhoneBookStore& store, BrokenLinesNotice notice);

  // Reads the file when its stamp differs from the one last read (the first call always reads). A
  // file that cannot be read leaves the book as it was, to be tried at the next call. Returns whether
  // the book was read.
  bool Refresh();

  std::string NameFor(std::string_view number) const override;
  bool SetName(std::string_view number, std::string_view name, std::string& error) override;
  std::uint64_t Generation() const override { return m_generation.load(); }

 private:
  struct Snapshot {
    DialingLocation location;
    std::unordered_map<std::string, std::string> names;  // by NumberKey; the first line of a number wins
  };
  // Swaps in the entries as the book; returns how many numbers it holds.
  size_t Take(PhoneBookContent content, const DialingLocation& location);

  IPhoneBookStore& m_store;
  BrokenLinesNotice m_notice;
  std::mutex m_updating;  // one read or write of the file at a time
  bool m_read = false;
  std::uint64_t m_stamp = 0;
  mutable std::mutex m_lock;  // held only to copy or swap the pointer
  std::shared_ptr<const Snapshot> m_snapshot;
  std::atomic<std::uint64_t> m_generation{0};
};

}  // namespace tfm
