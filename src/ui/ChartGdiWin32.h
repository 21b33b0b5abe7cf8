#pragma once
// GDI helpers of the strip chart: owned pens and brushes, a scoped selection, a window's drawing
// context, and the off-screen layer (a memory drawing context with a bitmap of the client size).
#include <windows.h>

#include "framework/GdiScope.h"
#include "framework/UniqueHandle.h"

namespace tfm {

using UniquePen = fw::Unique<HPEN, fw::DeleteGdiObject>;
using UniqueBrush = fw::Unique<HBRUSH, fw::DeleteGdiObject>;

using ScopedSelect = fw::ScopedSelect;

// A window's drawing context for as long as it is in scope.
class WindowDC {
 public:
  explicit WindowDC(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
  ~WindowDC() { ReleaseDC(m_hwnd, m_dc); }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC get() const { return m_dc; }

 private:
  HWND m_hwnd;
  HDC m_dc;
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
  fw::UniqueBitmap m_bitmap;
  HGDIOBJ m_initialBitmap;
};

}  // namespace tfm
