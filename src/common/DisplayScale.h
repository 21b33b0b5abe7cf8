#pragma once
// Display scaling arithmetic: lengths designed for 96 dots per inch, turned into the pixels of a window
// at another DPI, and column widths shared out over a width.
#include <cstdint>
#include <span>
#include <vector>

namespace tfm {

inline constexpr uint32_t kDesignDpi = 96;

// value * dpi / 96, rounded half away from zero as the platform's MulDiv rounds; a DPI of 0 (unknown)
// leaves the value as designed.
constexpr int32_t ScaleForDpi(int32_t value, uint32_t dpi) {
  if (dpi == 0) return value;
  const int64_t scaled = int64_t{value} * dpi;
  const int64_t half = kDesignDpi / 2;
  return static_cast<int32_t>(scaled >= 0 ? (scaled + half) / kDesignDpi : (scaled - half) / kDesignDpi);
}

// Lines stay whole pixels, so that they stay crisp: 1 up to 191 DPI, 2 from 192 (200 %), and so on.
constexpr int32_t LineWidthForDpi(uint32_t dpi) { return dpi < 2 * kDesignDpi ? 1 : static_cast<int32_t>(dpi / kDesignDpi); }

// Widths in proportion to the shares that add up to exactly width (none below 0); the pixels that the
// rounding down leaves go to the first columns with a share, one each. No shares, or shares that add up to 0, give
// every column 0.
std::vector<int32_t> FitColumnWidths(std::span<const int32_t> shares, int32_t width);

}  // namespace tfm
