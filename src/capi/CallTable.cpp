#include "capi/CallTable.h"

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
  slot.calledNumberCopy.clear();
  slot.callingNumberCopy.clear();
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

std::string CopyStructContent(CapiStruct s) {
  if (!s) return {};
  return std::string(reinterpret_cast<const char*>(CapiStructContent(s)), CapiStructContentLength(s));
}

namespace {

// The bytes after the first `skip` octets, up to the first zero byte.
std::string DigitsAfter(const std::string& copy, size_t skip) {
  if (copy.size() <= skip) return {};
  const char* digits = copy.data() + skip;
  const void* zero = std::memchr(digits, 0, copy.size() - skip);
  return std::string(digits, zero ? static_cast<const char*>(zero) : copy.data() + copy.size());
}

}  // namespace

std::string CalledNumberText(const std::string& copy) { return DigitsAfter(copy, 1); }

std::string CallingNumberText(const std::string& copy) { return DigitsAfter(copy, 2); }

}  // namespace tfm
