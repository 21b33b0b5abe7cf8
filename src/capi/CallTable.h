#pragma once
// The calls in progress on every line the monitor listens to, one entry per call from its CONNECT_IND
// to its DISCONNECT_IND. All entries are allocated when the table is made, so that following a call
// allocates nothing.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "capi/CapiMessage.h"

namespace tfm {

inline constexpr uint32_t kNoAddress = 0xFFFFFFFF;

// The content octets of a number struct, kept beyond the next fetch in a buffer of its own so that an
// offered call allocates nothing. A number information element carries at most 255 octets (its length
// is a single octet); a longer struct is cut there.
class NumberCopy {
 public:
  static constexpr size_t kCapacity = 255;

  // Copies the content of s; null copies nothing.
  void Assign(CapiStruct s);
  void Clear() { m_length = 0; }
  std::string_view content() const { return {m_bytes.data(), m_length}; }

 private:
  std::array<char, kCapacity> m_bytes{};
  size_t m_length = 0;
};

struct CallSlot {
  uint32_t PLCI = kNoAddress;
  uint32_t NCCI = kNoAddress;
  bool clearCallAfterB3 = false;  // clear the call (DISCONNECT_REQ) once its B3 link is down
  uint64_t lastSeen = 0;          // the table's message count when a message last concerned the call
  // The indication's number structs; empty = no copy.
  NumberCopy calledNumberCopy;
  NumberCopy callingNumberCopy;
};

class CallTable {
 public:
  // A primary-rate line carries 30 calls at once (23 in North America); 256 entries follow eight such
  // lines full, with room for calls offered while every B channel is busy, more than the controllers
  // of one machine carry. The table is only full when DISCONNECT_INDs were lost (a queue overflow, a
  // provider that dropped them), so the entry idle longest is the one most likely dead.
  static constexpr size_t kCapacity = 256;

  CallTable();

  void MarkAllFree();
  // A new entry for the call with this PLCI. Past the limit the entry idle longest is reclaimed for
  // it (traced). Returns its index.
  int Allocate(uint32_t plci);
  // The last entry moves into the freed place: an index is good until the next Free.
  void Free(int index);
  // Counts a message from the provider, before it is handled, and stamps the entry of its PLCI, if
  // any: the stamps order the entries by how long they have been idle.
  void NoteActivity(uint32_t plci);
  int InUseCount() const { return static_cast<int>(m_slots.size()); }
  // The entry with that PLCI or NCCI; -1 when none.
  int FindByPlci(uint32_t plci) const;
  int FindByNcci(uint32_t ncci) const;

  CallSlot& operator[](int index) { return m_slots[static_cast<size_t>(index)]; }
  const CallSlot& operator[](int index) const { return m_slots[static_cast<size_t>(index)]; }

 private:
  int OldestIdle() const;

  std::vector<CallSlot> m_slots;  // the calls in progress; capacity reserved for kCapacity
  uint64_t m_messageCount = 0;
};

// The digits of a called party number: what follows the type-of-number octet, up to a zero byte. The
// view points into the copy.
std::string_view CalledNumberText(const NumberCopy& copy);
// The digits of a calling party number: what follows the type and presentation octets.
std::string_view CallingNumberText(const NumberCopy& copy);

}  // namespace tfm
