#include "phonebook/PhoneBook.h"

#include <utility>

#include "common/Trace.h"
#include "phonebook/PhoneBookText.h"

namespace tfm {

PhoneBook::PhoneBook(IPhoneBookStore& store, BrokenLinesNotice notice)
    : m_store(store), m_notice(std::move(notice)), m_snapshot(std::make_shared<Snapshot>()) {}

bool PhoneBook::Refresh() {
  std::lock_guard updating(m_updating);
  const std::uint64_t stamp = m_store.Stamp();
  if (m_read && stamp == m_stamp) return false;
  std::string bytes;
  std::string error;
  const IPhoneBookStore::ReadResult result = m_store.Read(bytes, error);
  if (result == IPhoneBookStore::ReadResult::kFailed) {
    TraceF("phone book: not read, %s", error.c_str());
    return false;
  }
  m_read = true;
  m_stamp = stamp;
  PhoneBookContent content = ParsePhoneBook(bytes);
  const PhoneBookProblems problems = content.problems;
  const size_t count = Take(std::move(content), m_store.Location());
  TraceF("phone book: %s, %lu entries, %lu lines skipped",
         result == IPhoneBookStore::ReadResult::kMissing ? "no file" : "read", static_cast<unsigned long>(count),
         static_cast<unsigned long>(problems.count));
  if (problems.count > 0 && m_notice) {
    std::string text = "Line " + std::to_string(problems.firstLine) + ": " + problems.firstReason + ".";
    if (problems.count > 1) text += " " + std::to_string(problems.count - 1) + " more lines were skipped.";
    m_notice(text);
  }
  return true;
}

size_t PhoneBook::Take(PhoneBookContent content, const DialingLocation& location) {
  auto snapshot = std::make_shared<Snapshot>();
  snapshot->location = location;
  for (PhoneBookEntry& entry : content.entries)
    snapshot->names.try_emplace(NumberKey(entry.number, location), std::move(entry.name));
  {
    std::lock_guard guard(m_lock);
    m_snapshot = snapshot;
  }
  ++m_generation;
  return snapshot->names.size();
}

std::string PhoneBook::NameFor(std::string_view number) const {
  std::shared_ptr<const Snapshot> snapshot;
  {
    std::lock_guard guard(m_lock);
    snapshot = m_snapshot;
  }
  const std::string key = NumberKey(number, snapshot->location);
  if (key.empty()) return {};
  const auto found = snapshot->names.find(key);
  return found == snapshot->names.end() ? std::string() : found->second;
}

bool PhoneBook::SetName(std::string_view number, std::string_view name, std::string& error) {
  const DialingLocation location = m_store.Location();
  if (NumberKey(number, location).empty()) {
    error = "The number has no digits.";
    return false;
  }
  if (CleanPhoneName(name).size() > kPhoneNameMaxLength) {
    error = "The name is longer than " + std::to_string(kPhoneNameMaxLength) + " bytes.";
    return false;
  }
  std::lock_guard updating(m_updating);
  std::string bytes;
  if (m_store.Read(bytes, error) == IPhoneBookStore::ReadResult::kFailed) return false;
  const std::string written = PhoneBookWithName(bytes, number, name, m_store.Separator(), location);
  if (!m_store.Replace(written, error)) return false;
  m_read = true;
  m_stamp = m_store.Stamp();
  Take(ParsePhoneBook(written), location);
  TraceF("phone book: named %.*s", static_cast<int>(number.size()), number.data());
  return true;
}

}  // namespace tfm
