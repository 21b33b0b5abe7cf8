#include "common/TextFit.h"

namespace tfm {

size_t Utf8SequenceLength(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 1;
  if (length > text.size()) return 1;
  for (size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

std::string FitUtf16Units(std::string_view utf8, size_t maxUnits) {
  size_t end = 0;
  size_t units = 0;
  while (end < utf8.size()) {
    const size_t length = Utf8SequenceLength(utf8.substr(end));
    // Four bytes encode a character beyond the BMP: a surrogate pair.
    const size_t need = length == 4 ? 2 : 1;
    if (units + need > maxUnits) break;
    units += need;
    end += length;
  }
  return std::string(utf8.substr(0, end));
}

}  // namespace tfm
