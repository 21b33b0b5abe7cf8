#pragma once
// Fixed fields of Windows records (the tray's tooltip and balloon) hold a number of UTF-16 units; the
// program keeps UTF-8. The cut is made here, at a character boundary, so that a record says exactly
// what the shell shows and a surrogate pair or a multi-byte sequence is never split.
#include <cstddef>
#include <string>
#include <string_view>

namespace tfm {

// The length of the valid UTF-8 sequence that text starts with (1 to 4), or 1 for a byte that starts
// none; text is not empty.
size_t Utf8SequenceLength(std::string_view text);

// The longest prefix of utf8 that is whole characters and takes at most maxUnits UTF-16 units. A byte
// that starts no valid sequence counts as one unit (it becomes U+FFFD).
std::string FitUtf16Units(std::string_view utf8, size_t maxUnits);

}  // namespace tfm
