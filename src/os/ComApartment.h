#pragma once
// The calling thread's COM apartment (single-threaded), held for the object's life: Active
// Accessibility hands screen readers the objects of our windows through it.
#include <windows.h>

#include <objbase.h>

namespace os {

class ComApartment {
 public:
  ComApartment() : m_entered(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (m_entered) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool m_entered;
};

}  // namespace os
