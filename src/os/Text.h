#pragma once
// Text inside the program is UTF-8 in std::string; Windows takes and gives UTF-16. These are the one
// place where the two meet: every call that passes text or a path to Windows converts here.
#include <string>
#include <string_view>

namespace os {

// UTF-8 to UTF-16; a byte that is not part of a valid sequence becomes U+FFFD.
std::wstring Wide(std::string_view utf8);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view wide);
// The same for a zero-terminated text; null is empty.
std::string Utf8(const wchar_t* wide);

// Bytes in the given code page (CP_ACP: the system's ANSI code page) to UTF-8. A double-byte
// character is never cut: a lead byte at the very end, without its trail byte, is dropped.
std::string Utf8FromCodePage(std::string_view bytes, unsigned codePage);

// Copies utf8 into a fixed UTF-16 field, zero-terminated. The caller has cut the text to the field at a
// character boundary (tfm::FitUtf16Units); anything longer is cut at the field's end.
void CopyToField(wchar_t* field, size_t capacity, std::string_view utf8);
template <size_t N>
void CopyToField(wchar_t (&field)[N], std::string_view utf8) {
  CopyToField(field, N, utf8);
}

}  // namespace os
