#include "Accessibility.h"

#include <oleacc.h>

#include "os/ComApartment.h"
#include "os/Text.h"

namespace tfm::test {
namespace {

std::string Take(BSTR text) {
  std::string utf8 = text ? os::Utf8(text) : std::string();
  SysFreeString(text);
  return utf8;
}

}  // namespace

AccessibleReading ReadAccessible(HWND window) {
  const os::ComApartment apartment;
  AccessibleReading reading;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                        reinterpret_cast<void**>(&object))) ||
      !object)
    return reading;
  reading.found = true;
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK) reading.name = Take(text);
  text = nullptr;
  if (object->get_accValue(self, &text) == S_OK) reading.value = Take(text);
  VARIANT role{};
  if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) reading.role = role.lVal;
  object->Release();
  return reading;
}

}  // namespace tfm::test
