#include <windows.h>

#include <algorithm>
#include <cstring>

#include "os/Text.h"

namespace os {

std::wstring Wide(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), count);
  return wide;
}

std::string Utf8(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::string Utf8(const wchar_t* wide) { return wide ? Utf8(std::wstring_view(wide)) : std::string(); }

std::string Utf8FromCodePage(std::string_view bytes, unsigned codePage) {
  // Walk the characters so that a lead byte whose trail byte is missing is known as such.
  size_t whole = 0;
  while (whole < bytes.size()) {
    const size_t step = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[whole])) ? 2 : 1;
    if (whole + step > bytes.size()) break;
    whole += step;
  }
  if (whole == 0) return {};
  const int count = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(whole), nullptr, 0);
  std::wstring wide(static_cast<size_t>(count), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(whole), wide.data(), count);
  return Utf8(wide);
}

void CopyToField(wchar_t* field, size_t capacity, std::string_view utf8) {
  const std::wstring wide = Wide(utf8);
  const size_t length = std::min(wide.size(), capacity - 1);
  std::memcpy(field, wide.data(), length * sizeof(wchar_t));
  std::fill(field + length, field + capacity, L'\0');
}

}  // namespace os
