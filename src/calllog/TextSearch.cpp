#include "calllog/TextSearch.h"

#include <algorithm>

#include "common/TextFit.h"

namespace tfm {
namespace {

char32_t FoldCodePoint(char32_t c) {
  if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return c + 0x20;
  if (c == 0x178) return 0xFF;
  // Latin Extended-A pairs its letters capital first, from an even code point, except in these two runs.
  const bool oddCapitals = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x138 && c != 0x149 && c != 0x17F)
    return (c % 2 == 0) != oddCapitals ? c + 1 : c;
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 0x20;
  if (c >= 0x410 && c <= 0x42F) return c + 0x20;
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return c;
}

char32_t Decode(std::string_view sequence) {
  const auto byte = [&](size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(sequence[i])); };
  switch (sequence.size()) {
    case 2: return (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    case 3: return (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    case 4: return (byte(0) & 0x07) << 18 | (byte(1) & 0x3F) << 12 | (byte(2) & 0x3F) << 6 | (byte(3) & 0x3F);
    default: return byte(0);
  }
}

// Only code points below U+0800 change, so a folded letter is as long as the letter was.
void Encode(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; }

}  // namespace

std::string FoldCase(std::string_view utf8) {
  std::string folded;
  folded.reserve(utf8.size());
  while (!utf8.empty()) {
    const std::string_view sequence = utf8.substr(0, Utf8SequenceLength(utf8));
    utf8.remove_prefix(sequence.size());
    const char32_t c = sequence.size() <= 2 ? Decode(sequence) : 0;
    const char32_t lower = sequence.size() <= 2 && (sequence.size() == 2 || c < 0x80) ? FoldCodePoint(c) : c;
    if (lower != c) Encode(lower, folded);
    else folded += sequence;
  }
  return folded;
}

bool ContainsAsciiFolded(std::string_view text, std::string_view foldedNeedle) {
  return std::search(text.begin(), text.end(), foldedNeedle.begin(), foldedNeedle.end(),
                     [](char a, char b) { return FoldAscii(a) == b; }) != text.end();
}

}  // namespace tfm
