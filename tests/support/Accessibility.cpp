#include "Accessibility.h"

#include <oleacc.h>

#include "os/ComApartment.h"
#include "os/Text.h"

namespace tfm::test {
namespace {

constexpr wchar_t kHighContrastKey[] = L"Control Panel\\Accessibility\\HighContrast";

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
  const HRESULT result = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                                    __uuidof(IAccessible), reinterpret_cast<void**>(&object));
  if (FAILED(result) || !object) {
    reading.error = result;
    return reading;
  }
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

HighContrastInProfile::HighContrastInProfile() {
  wchar_t had[32] = L"";
  DWORD length = sizeof had - sizeof had[0];
  if (RegGetValueW(HKEY_CURRENT_USER, kHighContrastKey, L"Flags", RRF_RT_REG_SZ, nullptr, had, &length) ==
      ERROR_SUCCESS)
    m_had = had;
  constexpr wchar_t kOn[] = L"127";  // HCF_HIGHCONTRASTON and the flags Windows sets beside it
  RegSetKeyValueW(HKEY_CURRENT_USER, kHighContrastKey, L"Flags", REG_SZ, kOn, sizeof kOn);
}

HighContrastInProfile::~HighContrastInProfile() {
  if (m_had) {
    RegSetKeyValueW(HKEY_CURRENT_USER, kHighContrastKey, L"Flags", REG_SZ, m_had->c_str(),
                    static_cast<DWORD>((m_had->size() + 1) * sizeof(wchar_t)));
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kHighContrastKey, L"Flags");
  }
}

}  // namespace tfm::test
