#include "calllog/ListSeparatorWin32.h"

#include <windows.h>

#include <iterator>

#include "os/Text.h"

namespace tfm {

std::string UserListSeparator() {
  wchar_t list[16]{};  // Windows allows three characters; room for more set in the registry by hand
  const int count = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SLIST, list, static_cast<int>(std::size(list)));
  return count > 1 ? os::Utf8(std::wstring_view(list, static_cast<size_t>(count - 1))) : std::string();
}

}  // namespace tfm
