#pragma once
// The monitor's two call slots, one per logical connection its registration allows.
#include <array>
#include <cstdint>
#include <string>

#include "capi/CapiMessage.h"

namespace tfm {

inline constexpr uint32_t kNoAddress = 0xFFFFFFFF;

struct CallSlot {
  bool inUse = false;
  uint32_t PLCI = kNoAddress;
  uint32_t NCCI = kNoAddress;
  bool clearCallAfterB3 = false;  // clear the call (DISCONNECT_REQ) once its B3 link is down
  // Content octets of the indication's number structs, kept beyond the next fetch; empty = no copy.
  std::string calledNumberCopy;
  std::string callingNumberCopy;
};

class CallTable {
 public:
  static constexpr int kSlotCount = 2;

  void MarkAllFree();
  // The first free slot, reset for a new call; -1 when both are in use.
  int Allocate();
  void Free(int index);
  // The first slot in use with that PLCI or NCCI; -1 when none.
  int FindByPlci(uint32_t plci) const;
  int FindByNcci(uint32_t ncci) const;

  CallSlot& operator[](int index) { return m_slots[static_cast<size_t>(index)]; }
  const CallSlot& operator[](int index) const { return m_slots[static_cast<size_t>(index)]; }

 private:
  std::array<CallSlot, kSlotCount> m_slots;
};

// Copies a number struct's content octets (null copies nothing).
std::string CopyStructContent(CapiStruct s);

// The digits of a called party number: what follows the type-of-number octet, up to a zero byte.
std::string CalledNumberText(const std::string& copy);
// The digits of a calling party number: what follows the type and presentation octets.
std::string CallingNumberText(const std::string& copy);

}  // namespace tfm
