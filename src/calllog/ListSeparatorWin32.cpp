#include "calllog/ListSeparatorWin32.h"

#include <windows.h>

#include <iterator>

#include "os/Text.h"

namespace tfm {

namespace {

std::string UserLocaleText(LCTYPE item) {
  wchar_t text[16]{};  // Windows allows three characters; room for more set in the registry by hand
  const int count = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, text, static_cast<int>(std::size(text)));
  return count > 1 ? os::Utf8(std::wstring_view(text, static_cast<size_t>(count - 1))) : std::string();
}

}  // namespace

std::string UserListSeparator() { return UserLocaleText(LOCALE_SLIST); }
std::string UserThousandsSeparator() { return UserLocaleText(LOCALE_STHOUSAND); }

}  // namespace tfm
