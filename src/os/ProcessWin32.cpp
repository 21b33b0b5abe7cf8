#include <windows.h>

#include <vector>

#include "os/Owned.h"
#include "os/Process.h"
#include "os/Text.h"

namespace os {

std::string ExecutablePath() {
  // Long paths can exceed MAX_PATH; a length equal to the buffer size means it was cut: grow and ask
  // again, up to the longest path the system has (32,767 characters).
  for (std::vector<wchar_t> path(MAX_PATH);; path.resize(path.size() * 2)) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return Utf8(std::wstring_view(path.data(), length));
    if (path.size() > 32768) return {};
  }
}

std::string ExecutableDirectory() {
  const std::string path = ExecutablePath();
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string::npos ? std::string() : path.substr(0, separator);
}

void HardenDllSearch() {
  // Windows 8 and Windows 7 with the loader update restrict every later load to the exe's folder and
  // System32; elsewhere SetDllDirectory("") still drops the current directory from the search order.
  constexpr DWORD kSearchDefaultDirs = 0x00001000;  // LOAD_LIBRARY_SEARCH_DEFAULT_DIRS
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto setDefaultDirectories = reinterpret_cast<SetDefaultDllDirectoriesFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (setDefaultDirectories) setDefaultDirectories(kSearchDefaultDirs);
  SetDllDirectoryW(L"");
}

std::string SystemErrorText(uint32_t code) {
  LocalPtr<wchar_t> buffer;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, code, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                     reinterpret_cast<wchar_t*>(buffer.out()), 0, nullptr);
  buffer.adopt();
  std::string text = buffer.get() ? Utf8(std::wstring_view(buffer.get(), length)) : std::string();
  const char* const blanks = " \t\r\n";
  const size_t first = text.find_first_not_of(blanks);
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace os
