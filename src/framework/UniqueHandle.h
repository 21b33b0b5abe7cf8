#pragma once
// One owner for every handle: closes it when the owner goes.
#include <windows.h>

#include <utility>

namespace fw {

template <class H, auto Close, H Invalid = H{}>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H handle) : m_handle(handle) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : m_handle(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~Unique() { reset(); }

  H get() const { return m_handle; }
  explicit operator bool() const { return m_handle != Invalid; }
  H release() { return std::exchange(m_handle, Invalid); }
  void reset(H handle = Invalid) {
    if (m_handle != Invalid) Close(m_handle);
    m_handle = handle;
  }

 private:
  H m_handle = Invalid;
};

inline void CloseKernelHandle(HANDLE h) { CloseHandle(h); }
inline void DeleteGdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void DestroyMenuHandle(HMENU h) { DestroyMenu(h); }
inline void CloseRegistryKey(HKEY h) { RegCloseKey(h); }
inline void UnmapView(void* view) { UnmapViewOfFile(view); }

using UniqueHandle = Unique<HANDLE, CloseKernelHandle>;
using UniqueFont = Unique<HFONT, DeleteGdiObject>;
using UniqueBitmap = Unique<HBITMAP, DeleteGdiObject>;
using UniqueBrush = Unique<HBRUSH, DeleteGdiObject>;
using UniquePen = Unique<HPEN, DeleteGdiObject>;
using UniqueMenu = Unique<HMENU, DestroyMenuHandle>;
using UniqueKey = Unique<HKEY, CloseRegistryKey>;
using UniqueView = Unique<void*, UnmapView>;

}  // namespace fw
