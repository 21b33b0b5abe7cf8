#pragma once
// Drawing contexts and the GDI state selected into them, each released by its owner.
#include <windows.h>

#include "os/Owned.h"

namespace os {

// A window's drawing context (GetDC) for as long as it is in scope; null window = the screen.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
  ~WindowDc() {
    if (m_dc) ReleaseDC(m_hwnd, m_dc);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return m_dc; }

 private:
  HWND m_hwnd;
  HDC m_dc;
};

// The painting context of a WM_PAINT, ended when it goes.
class PaintScope {
 public:
  explicit PaintScope(HWND hwnd) : m_hwnd(hwnd), m_dc(BeginPaint(hwnd, &m_paint)) {}
  ~PaintScope() { EndPaint(m_hwnd, &m_paint); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return m_dc; }

 private:
  HWND m_hwnd;
  PAINTSTRUCT m_paint{};
  HDC m_dc;
};

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

// The whole state of a drawing context (selected objects, colours, clipping), put back when it goes.
class SavedDcState {
 public:
  explicit SavedDcState(HDC dc) : m_dc(dc), m_saved(SaveDC(dc)) {}
  ~SavedDcState() { RestoreDC(m_dc, m_saved); }
  SavedDcState(const SavedDcState&) = delete;
  SavedDcState& operator=(const SavedDcState&) = delete;

 private:
  HDC m_dc;
  int m_saved;
};

// A memory drawing context compatible with another, holding a bitmap of a given size. The bitmap can
// be replaced while the context stays; the context's initial bitmap is put back before it goes.
class OffscreenLayer {
 public:
  OffscreenLayer(HDC compatibleWith, int width, int height);
  ~OffscreenLayer();
  OffscreenLayer(const OffscreenLayer&) = delete;
  OffscreenLayer& operator=(const OffscreenLayer&) = delete;

  void Resize(HDC compatibleWith, int width, int height);
  HDC dc() const { return m_dc.get(); }

 private:
  UniqueMemoryDc m_dc;
  UniqueBitmap m_bitmap;
  HGDIOBJ m_initialBitmap;
};

}  // namespace os
