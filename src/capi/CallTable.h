#pragma once
// The monitor's two call slots, one per logical connection its registration allows.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

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
  bool inUse = false;
  uint32_t PLCI = kNoAddress;
  uint32_t NCCI = kNoAddress;
  bool clearCallAfterB3 = false;  // clear the call (DISCONNECT_REQ) once its B3 link is down
  // The indication's number structs; empty = no copy.
  NumberCopy calledNumberCopy;
  NumberCopy callingNumberCopy;
};

class CallTable {
 public:
  static constexpr int kSlotCount = 2;

  void MarkAllFree();
  // The first free slot, reset for a new call; -1 when both are in use.
  int Allocate();
  void Free(int index);
  int InUseCount() const;
  // The first slot in use with that PLCI or NCCI; -1 when none.
  int FindByPlci(uint32_t plci) const;
  int FindByNcci(uint32_t ncci) const;

  CallSlot& operator[](int index) { return m_slots[static_cast<size_t>(index)]; }
  const CallSlot& operator[](int index) const { return m_slots[static_cast<size_t>(index)]; }

 private:
  std::array<CallSlot, kSlotCount> m_slots;
};

// The digits of a called party number: what follows the type-of-number octet, up to a zero byte. The
// view points into the copy.
std::string_view CalledNumberText(const NumberCopy& copy);
// The digits of a calling party number: what follows the type and presentation octets.
std::string_view CallingNumberText(const NumberCopy& copy);

}  // namespace tfm
