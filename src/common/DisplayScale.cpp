#include "common/DisplayScale.h"

#include <algorithm>

namespace tfm {

std::vector<int32_t> FitColumnWidths(std::span<const int32_t> shares, int32_t width) {
  std::vector<int32_t> widths(shares.size(), 0);
  int64_t total = 0;
  for (const int32_t share : shares) total += std::max(share, 0);
  if (total == 0 || width <= 0) return widths;
  int64_t left = width;
  for (size_t i = 0; i < shares.size(); ++i) {
    widths[i] = static_cast<int32_t>(int64_t{std::max(shares[i], 0)} * width / total);
    left -= widths[i];
  }
  for (size_t i = 0; left > 0 && i < widths.size(); ++i) {
    if (shares[i] <= 0) continue;
    ++widths[i];
    --left;
  }
  return widths;
}

}  // namespace tfm
