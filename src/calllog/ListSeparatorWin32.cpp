#include "calllog/ListSeparatorWin32.h"

#include <windows.h>

#include <iterator>

namespace tfm {

std::string UserListSeparator() {
  wchar_t list[16]{};  // Windows allows three characters; room for more set in the registry by hand
  const int count = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SLIST, list, static_cast<int>(std::size(list)));
  if (count <= 1) return {};
  char text[std::size(list) * 3];  // UTF-8 takes at most three bytes for a UTF-16 unit
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, list, count - 1, text, static_cast<int>(std::size(text)), nullptr, nullptr);
  return std::string(text, static_cast<size_t>(length > 0 ? length : 0));
}

}  // namespace tfm
