#pragma once
// Finding typed text in the call list: numbers and names are compared with the letters' case folded, so
// that "müller" finds "Müller GmbH" and "MÜLLER" too. Folding is done here, without the system, so that
// the index behind the list stays portable: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic
// capitals become small letters; other characters, and bytes that are no UTF-8, are kept as they are.
#include <string>
#include <string_view>

namespace tfm {

std::string FoldCase(std::string_view utf8);

// Whether text holds needle, with the ASCII letters of text compared in either case; needle is folded
// already. Numbers are ASCII, so this is how a folded search text with letters is found in a number
// (one without letters is found faster as it is).
bool ContainsAsciiFolded(std::string_view text, std::string_view foldedNeedle);

}  // namespace tfm
