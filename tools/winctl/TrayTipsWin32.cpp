#include "TrayTipsWin32.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <iterator>
#include <vector>

#include "os/Owned.h"
#include "os/Text.h"

namespace {

constexpr SIZE_T kTextLength = 1024;  // what the control writes at most (INFOTIPSIZE)

struct Tooltips {
  DWORD pid;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectTooltips(HWND hwnd, LPARAM context) {
  auto* tooltips = reinterpret_cast<Tooltips*>(context);
  wchar_t name[64] = L"";
  GetClassNameW(hwnd, name, static_cast<int>(std::size(name)));
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == tooltips->pid && std::wcscmp(name, TOOLTIPS_CLASSW) == 0) tooltips->windows.push_back(hwnd);
  return TRUE;
}

bool Send(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR& result) {
  return SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result) != 0;
}

// The text of tool `index` of a tooltip window of the process, read through the remote block.
bool ReadToolText(HANDLE process, HWND tooltip, WPARAM index, char* remote, std::vector<wchar_t>& text) {
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.lpszText = reinterpret_cast<wchar_t*>(remote + sizeof tool);
  DWORD_PTR result = 0;
  if (!WriteProcessMemory(process, remote, &tool, sizeof tool, nullptr) ||
      !Send(tooltip, TTM_ENUMTOOLSW, index, reinterpret_cast<LPARAM>(remote), result) || !result ||
      !ReadProcessMemory(process, remote, &tool, sizeof tool, nullptr))
    return false;
  tool.lpszText = reinterpret_cast<wchar_t*>(remote + sizeof tool);
  if (!WriteProcessMemory(process, remote, &tool, sizeof tool, nullptr) ||
      !Send(tooltip, TTM_GETTEXTW, kTextLength, reinterpret_cast<LPARAM>(remote), result))
    return false;
  text.assign(kTextLength + 1, L'\0');
  return ReadProcessMemory(process, remote + sizeof tool, text.data(), kTextLength * sizeof(wchar_t), nullptr) != 0;
}

bool IsShownBalloon(HWND tooltip) {
  return IsWindowVisible(tooltip) && (GetWindowLongW(tooltip, GWL_STYLE) & TTS_BALLOON) != 0;
}

}  // namespace

int PrintTrayTips() {
  Tooltips tooltips{0, {}};
  HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
  if (!taskbar || !GetWindowThreadProcessId(taskbar, &tooltips.pid)) return 1;
  const os::UniqueHandle process(
      OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, tooltips.pid));
  if (!process) return 1;
  const os::UniqueRemoteBlock block(process.get(), sizeof(TTTOOLINFOW) + kTextLength * sizeof(wchar_t));
  if (!block.get()) return 1;
  EnumWindows(CollectTooltips, reinterpret_cast<LPARAM>(&tooltips));
  std::vector<wchar_t> text;
  char* remote = static_cast<char*>(block.get());
  for (HWND tooltip : tooltips.windows) {
    DWORD_PTR count = 0;
    if (!Send(tooltip, TTM_GETTOOLCOUNT, 0, 0, count)) continue;
    // Wine's tooltips do not answer TTM_GETTITLE: a balloon is told by its text alone.
    const char* kind = IsShownBalloon(tooltip) ? "balloon " : "";
    for (WPARAM index = 0; index < count; ++index) {
      if (ReadToolText(process.get(), tooltip, index, remote, text)) std::printf("%s%s\n", kind, os::Utf8(text.data()).c_str());
    }
  }
  return 0;
}
