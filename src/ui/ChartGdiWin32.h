#pragma once
// GDI ownership for the strip chart: owned pens, brushes, fonts and bitmaps, a scoped selection,
// and the off-screen layer (a memory drawing context with a bitmap of the client size).
#include <windows.h>

#include <memory>
#include <type_traits>

namespace tfm {

struct GdiObjectDeleter {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <class Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

// Selects an object into a drawing context and puts the previous one back when it goes.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : m_dc(dc), m_previous(SelectObject(dc, object)) {}
  ~ScopedSelect() { SelectObject(m_dc, m_previous); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// A memory drawing context compatible with a window, holding a bitmap of a given size. The bitmap
// can be replaced while the context stays; the context's initial bitmap is restored before it goes.
class OffscreenLayer {
 public:
  OffscreenLayer(HDC compatibleWith, int width, int height);
  ~OffscreenLayer();
  OffscreenLayer(const OffscreenLayer&) = delete;
  OffscreenLayer& operator=(const OffscreenLayer&) = delete;

  void Resize(HDC compatibleWith, int width, int height);
  HDC dc() const { return m_dc; }

 private:
  HDC m_dc;
  GdiObject<HBITMAP> m_bitmap;
  HGDIOBJ m_initialBitmap;
};

}  // namespace tfm
