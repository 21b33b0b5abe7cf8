#include "capi/CallTable.h"

#include <algorithm>
#include <cstring>

namespace tfm {

void CallTable::MarkAllFree() {
  for (CallSlot& slot : m_slots) slot.inUse = false;
}

int CallTable::Allocate() {
  for (int i = 0; i < kSlotCount; ++i) {
    CallSlot& slot = (*this)[i];
    if (!slot.inUse) {
      slot = CallSlot{};
      slot.inUse = true;
      return i;
    }
  }
  return -1;
}

void CallTable::Free(int index) {
  CallSlot& slot = (*this)[index];
  slot.inUse = false;
  slot.calledNumberCopy.Clear();
  slot.callingNumberCopy.Clear();
}

int CallTable::InUseCount() const {
  return static_cast<int>(std::count_if(m_slots.begin(), m_slots.end(), [](const CallSlot& s) { return s.inUse; }));
}

int CallTable::FindByPlci(uint32_t plci) const {
  for (int i = 0; i < kSlotCount; ++i) {
    if ((*this)[i].inUse && (*this)[i].PLCI == plci) return i;
  }
  return -1;
}

int CallTable::FindByNcci(uint32_t ncci) const {
  for (int i = 0; i < kSlotCount; ++i) {
    if ((*this)[i].inUse && (*this)[i].NCCI == ncci) return i;
  }
  return -1;
}

void NumberCopy::Assign(CapiStruct s) {
  m_length = std::min(CapiStructContentLength(s), kCapacity);
  if (m_length > 0) std::memcpy(m_bytes.data(), CapiStructContent(s), m_length);
}

namespace {

// The bytes after the first `skip` octets, up to the first zero byte.
std::string_view DigitsAfter(const NumberCopy& copy, size_t skip) {
  const std::string_view content = copy.content();
  if (content.size() <= skip) return {};
  const std::string_view digits = content.substr(skip);
  return digits.substr(0, digits.find('\0'));
}

}  // namespace

std::string_view CalledNumberText(const NumberCopy& copy) { return DigitsAfter(copy, 1); }

std::string_view CallingNumberText(const NumberCopy& copy) { return DigitsAfter(copy, 2); }

}  // namespace tfm
