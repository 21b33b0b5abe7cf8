#include "capi/CallTable.h"

#include <algorithm>
#include <cstring>

#include "common/Trace.h"

namespace tfm {

CallTable::CallTable() { m_slots.reserve(kCapacity); }

void CallTable::MarkAllFree() { m_slots.clear(); }

int CallTable::Allocate(uint32_t plci) {
  int index;
  if (m_slots.size() < kCapacity) {
    index = static_cast<int>(m_slots.size());
    m_slots.emplace_back();  // within the reserved capacity: no allocation
  } else {
    index = OldestIdle();
    const CallSlot& reclaimed = (*this)[index];
    TraceF("capi: call table full, reclaimed the entry of PLCI 0x%x, idle for %llu messages",
           static_cast<unsigned>(reclaimed.PLCI), static_cast<unsigned long long>(m_messageCount - reclaimed.lastSeen));
    (*this)[index] = CallSlot{};
  }
  CallSlot& slot = (*this)[index];
  slot.PLCI = plci;
  slot.lastSeen = m_messageCount;
  return index;
}

void CallTable::Free(int index) {
  // The last entry takes the freed place, so that the calls in progress stay at the front.
  (*this)[index] = m_slots.back();
  m_slots.pop_back();
}

void CallTable::NoteActivity(uint32_t plci) {
  ++m_messageCount;
  const int index = FindByPlci(plci);
  if (index >= 0) (*this)[index].lastSeen = m_messageCount;
}

int CallTable::OldestIdle() const {
  const auto oldest = std::min_element(m_slots.begin(), m_slots.end(),
                                       [](const CallSlot& a, const CallSlot& b) { return a.lastSeen < b.lastSeen; });
  return static_cast<int>(oldest - m_slots.begin());
}

int CallTable::FindByPlci(uint32_t plci) const {
  const auto it = std::find_if(m_slots.begin(), m_slots.end(), [plci](const CallSlot& s) { return s.PLCI == plci; });
  return it == m_slots.end() ? -1 : static_cast<int>(it - m_slots.begin());
}

int CallTable::FindByNcci(uint32_t ncci) const {
  const auto it = std::find_if(m_slots.begin(), m_slots.end(), [ncci](const CallSlot& s) { return s.NCCI == ncci; });
  return it == m_slots.end() ? -1 : static_cast<int>(it - m_slots.begin());
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
