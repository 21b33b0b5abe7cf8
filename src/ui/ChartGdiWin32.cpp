#include "ui/ChartGdiWin32.h"

namespace tfm {

OffscreenLayer::OffscreenLayer(HDC compatibleWith, int width, int height)
    : m_dc(CreateCompatibleDC(compatibleWith)),
      m_bitmap(CreateCompatibleBitmap(compatibleWith, width, height)),
      m_initialBitmap(SelectObject(m_dc, m_bitmap.get())) {}

OffscreenLayer::~OffscreenLayer() {
  SelectObject(m_dc, m_initialBitmap);
  DeleteDC(m_dc);
}

void OffscreenLayer::Resize(HDC compatibleWith, int width, int height) {
  fw::UniqueBitmap bitmap(CreateCompatibleBitmap(compatibleWith, width, height));
  SelectObject(m_dc, bitmap.get());
  m_bitmap = std::move(bitmap);  // the old bitmap is no longer selected and goes now
}

}  // namespace tfm
