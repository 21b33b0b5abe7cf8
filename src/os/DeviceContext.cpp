#include "os/DeviceContext.h"

namespace os {

OffscreenLayer::OffscreenLayer(HDC compatibleWith, int width, int height)
    : m_dc(CreateCompatibleDC(compatibleWith)),
      m_bitmap(CreateCompatibleBitmap(compatibleWith, width, height)),
      m_initialBitmap(SelectObject(m_dc.get(), m_bitmap.get())) {}

OffscreenLayer::~OffscreenLayer() { SelectObject(m_dc.get(), m_initialBitmap); }

void OffscreenLayer::Resize(HDC compatibleWith, int width, int height) {
  UniqueBitmap replacement(CreateCompatibleBitmap(compatibleWith, width, height));
  SelectObject(m_dc.get(), replacement.get());
  m_bitmap = std::move(replacement);
}

}  // namespace os
