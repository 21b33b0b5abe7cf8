// winctl: drives and inspects windows of other processes for the end-to-end tests.
//
//   winctl find CLASS [TIMEOUT_MS] [TITLE]  prints the top-level window's handle (waits for it)
//   winctl count CLASS TITLE                prints how many visible top-level windows have both
//   winctl child HWND ID                    prints the handle of the child window with that id
//   winctl visible-children HWND           prints the handles of the window's visible children, bottom first
//   winctl descendant HWND ID               prints the handle of the first window below it with that id
//   winctl clipboard                        prints the clipboard's text
//   winctl save-as TITLE PATH TIMEOUT_MS    waits for the save dialog of that title, enters PATH, presses Save
//   winctl rect HWND                        prints the window's screen rectangle: x y width height
//   winctl size HWND WIDTH HEIGHT           sizes the window as a drag of its border would ask
//   winctl text HWND                        prints the window's text
//   winctl info HWND                        prints visible=, owner=, parent=, class=, style=
//   winctl post HWND MSG WPARAM LPARAM      posts a message
//   winctl send HWND MSG WPARAM LPARAM      sends a message (5 s limit), prints the result
//   winctl send-timed HWND MSG WPARAM LPARAM  the same, prints the result and the milliseconds it took
//   winctl command HWND ID                  posts WM_COMMAND with a command id
//   winctl keys HWND VK...                  posts key presses (virtual-key codes)
//   winctl chord HWND VK...                 brings the window to the front and types the keys as one
//                                           chord (Ctrl+Tab: 0x11 0x09) through the keyboard input
//   winctl msgbox TIMEOUT_MS                waits for a message box, prints "title|text", presses OK
//   winctl no-msgbox MS                     fails if a message box shows up within MS
//   winctl popup-menu TIMEOUT_MS            waits for a visible popup menu window, prints its handle
//   winctl wait-gone HWND TIMEOUT_MS        waits until the window no longer exists
//   winctl tray-exists HWND ID              succeeds when the shell knows the notification icon
//   winctl tray-delete HWND ID              deletes a notification icon (as an Explorer restart does)
//   winctl broadcast NAME                   broadcasts a registered window message to all top-level windows
//   winctl process HWND                     prints pid=, handles=, private= of the window's process
//   winctl tray-tips                        prints the notification icons' tooltip texts, one per line,
//                                           and a balloon on show as "balloon <text>"
//   winctl hold-mutex NAME MS               creates and owns the named mutex, prints "held", lets go after MS
//   winctl signal-text MAP EVENT TEXT       writes TEXT at offset 8 of the named mapping and sets the named
//                                           event, leaving it set (as a fax server that never resets it)
//   winctl signal-bytes MAP EVENT HEX       the same with the text's bytes given in hex (CFF0E8E2E5F2), as
//                                           an 8-bit server writes them in its code page
//   winctl tree-texts HWND                  prints a tree view's item texts, two blanks a level
//   winctl lock-file PATH SECONDS           opens the file sharing nothing (as a program that locks it
//                                           does), prints "locked", and closes it after SECONDS or
//                                           when its standard input ends, whichever comes first
//   winctl fits HWND                        succeeds when every visible window below HWND lies inside its
//                                           parent's client area and every list's columns fit its width
//                                           without a horizontal scroll bar; prints what does not
//
// Numbers take C notation (0x prefix for hex). Arguments are taken from the UTF-16 command line and
// texts are printed in UTF-8, so that paths and texts of any script pass through whole. Exit code 0 on
// success, 1 when the condition failed, 2 on bad usage.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ProcessStatsWin32.h"
#include "TrayTipsWin32.h"
#include "TreeTextsWin32.h"
#include "os/Owned.h"
#include "os/Text.h"

namespace {

unsigned long long Number(const char* text) { return std::strtoull(text, nullptr, 0); }
HWND Handle(const char* text) { return reinterpret_cast<HWND>(static_cast<uintptr_t>(Number(text))); }

template <class Condition>
bool WaitFor(DWORD timeoutMs, Condition condition) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(50);
  }
}

struct Search {
  const char* className;
  HWND found;
};

BOOL CALLBACK FindVisibleOfClass(HWND hwnd, LPARAM context) {
  auto* search = reinterpret_cast<Search*>(context);
  char name[128] = "";
  GetClassNameA(hwnd, name, sizeof name);
  if (std::strcmp(name, search->className) == 0 && IsWindowVisible(hwnd)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FindVisible(const char* className) {
  Search search{className, nullptr};
  EnumWindows(FindVisibleOfClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The window's text in UTF-8.
std::string WindowText(HWND hwnd) {
  wchar_t text[1024] = L"";
  GetWindowTextW(hwnd, text, static_cast<int>(std::size(text)));
  return os::Utf8(text);
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM context) {
  char name[64] = "";
  GetClassNameA(child, name, sizeof name);
  const std::string text = WindowText(child);
  auto* collected = reinterpret_cast<std::string*>(context);
  if (_stricmp(name, "Static") == 0 && !text.empty()) *collected += text;
  return TRUE;
}

bool ShellIcon(DWORD request, HWND owner, UINT id) {
  NOTIFYICONDATAA data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  return Shell_NotifyIconA(request, &data) != FALSE;
}

int PrintHandle(HWND hwnd) {
  if (!hwnd) return 1;
  std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)));
  return 0;
}

int Find(int argc, char** argv) {
  const DWORD timeout = argc > 3 ? static_cast<DWORD>(Number(argv[3])) : 0;
  HWND found = nullptr;
  const char* title = argc > 4 ? argv[4] : nullptr;
  WaitFor(timeout, [&] { return (found = FindWindowA(argv[2], title)) != nullptr; });
  return PrintHandle(found);
}

struct Count {
  const char* className;
  const char* title;
  int found;
};

BOOL CALLBACK CountVisible(HWND hwnd, LPARAM context) {
  auto* count = reinterpret_cast<Count*>(context);
  char name[128] = "";
  char title[256] = "";
  GetClassNameA(hwnd, name, sizeof name);
  GetWindowTextA(hwnd, title, sizeof title);
  if (IsWindowVisible(hwnd) && std::strcmp(name, count->className) == 0 && std::strcmp(title, count->title) == 0)
    ++count->found;
  return TRUE;
}

int VisibleChildren(HWND parent) {
  if (!IsWindow(parent)) return 1;
  for (HWND child = GetWindow(GetWindow(parent, GW_CHILD), GW_HWNDLAST); child; child = GetWindow(child, GW_HWNDPREV)) {
    if (IsWindowVisible(child)) std::printf("%llu ", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(child)));
  }
  std::printf("\n");
  return 0;
}

int Rect(HWND hwnd) {
  RECT rect{};
  if (!GetWindowRect(hwnd, &rect)) return 1;
  std::printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  return 0;
}

int Info(HWND hwnd) {
  if (!IsWindow(hwnd)) return 1;
  char name[128] = "";
  GetClassNameA(hwnd, name, sizeof name);
  std::printf("visible=%d owner=%llu parent=%llu class=%s style=0x%08lX\n", IsWindowVisible(hwnd) ? 1 : 0,
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetWindow(hwnd, GW_OWNER))),
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetAncestor(hwnd, GA_PARENT))), name,
              static_cast<unsigned long>(GetWindowLongA(hwnd, GWL_STYLE)));
  return 0;
}

int MessageBoxCommand(DWORD timeoutMs) {
  HWND box = nullptr;
  if (!WaitFor(timeoutMs, [&] { return (box = FindVisible("#32770")) != nullptr; })) return 1;
  std::string text;
  EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&text));
  std::printf("%s|%s\n", WindowText(box).c_str(), text.c_str());
  std::fflush(stdout);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return WaitFor(5000, [&] { return !IsWindow(box); }) ? 0 : 1;
}

struct ById {
  int id;
  HWND found;
};

BOOL CALLBACK FindById(HWND hwnd, LPARAM context) {
  auto* search = reinterpret_cast<ById*>(context);
  if (GetDlgCtrlID(hwnd) != search->id) return TRUE;
  search->found = hwnd;
  return FALSE;
}

int Descendant(HWND parent, int id) {
  ById search{id, nullptr};
  EnumChildWindows(parent, FindById, reinterpret_cast<LPARAM>(&search));
  return PrintHandle(search.found);
}

int Clipboard() {
  if (!OpenClipboard(nullptr)) return 1;
  const HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const auto* text = static_cast<const wchar_t*>(data ? GlobalLock(data) : nullptr);
  if (text) {
    std::fputs(os::Utf8(text).c_str(), stdout);
    GlobalUnlock(data);
  }
  CloseClipboard();
  return text ? 0 : 1;
}

// The common save dialog names its file name box cmb13 (a combo box) or edt1, as it is built.
int SaveAs(const char* title, const char* path, DWORD timeoutMs) {
  HWND dialog = nullptr;
  const std::wstring wideTitle = os::Wide(title);
  if (!WaitFor(timeoutMs,
               [&] { return (dialog = FindWindowW(L"#32770", wideTitle.c_str())) != nullptr && IsWindowVisible(dialog); }))
    return 1;
  constexpr int kFileNameIds[] = {0x47C, 0x480};
  HWND name = nullptr;
  for (const int id : kFileNameIds) {
    if (!name) name = GetDlgItem(dialog, id);
  }
  if (!name || !SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(os::Wide(path).c_str()))) return 1;
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return WaitFor(5000, [&] { return !IsWindow(dialog); }) ? 0 : 1;
}

// Real input, so that the target sees the modifiers' state (GetKeyState) as well as the keys.
int Chord(int argc, char** argv) {
  const HWND hwnd = Handle(argv[2]);
  SetForegroundWindow(hwnd);
  if (!WaitFor(2000, [&] { return GetForegroundWindow() == hwnd; })) return 1;
  INPUT inputs[16]{};
  const int keys = argc - 3;
  if (keys > 8) return 2;
  for (int i = 0; i < keys; ++i) {
    const WORD key = static_cast<WORD>(Number(argv[3 + i]));
    inputs[i].type = inputs[2 * keys - 1 - i].type = INPUT_KEYBOARD;
    inputs[i].ki.wVk = inputs[2 * keys - 1 - i].ki.wVk = key;
    inputs[2 * keys - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP;
  }
  const UINT count = static_cast<UINT>(2 * keys);
  const bool sent = SendInput(count, inputs, sizeof(INPUT)) == count;
  Sleep(200);
  return sent ? 0 : 1;
}

int Keys(int argc, char** argv) {
  HWND hwnd = Handle(argv[2]);
  for (int i = 3; i < argc; ++i) {
    const WPARAM key = static_cast<WPARAM>(Number(argv[i]));
    PostMessageA(hwnd, WM_KEYDOWN, key, 1);
    PostMessageA(hwnd, WM_KEYUP, key, 0xC0000001);
    Sleep(100);
  }
  return 0;
}

// Counts and prints the windows below the enumerated one's ancestor that are cut.
BOOL CALLBACK CheckFits(HWND child, LPARAM cut) {
  if (!IsWindowVisible(child)) return TRUE;
  char name[64] = "";
  GetClassNameA(child, name, sizeof name);
  const HWND parent = GetParent(child);
  RECT area{}, rect{};
  GetClientRect(parent, &area);
  MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&area), 2);
  GetWindowRect(child, &rect);
  if (rect.left < area.left || rect.top < area.top || rect.right > area.right || rect.bottom > area.bottom) {
    std::printf("cut: %s (%ld,%ld)-(%ld,%ld) outside its parent's client area (%ld,%ld)-(%ld,%ld)\n", name,
                rect.left, rect.top, rect.right, rect.bottom, area.left, area.top, area.right, area.bottom);
    ++*reinterpret_cast<int*>(cut);
  }
  if (std::strcmp(name, WC_LISTVIEWA) != 0) return TRUE;
  RECT client{};
  GetClientRect(child, &client);
  int columns = 0;
  for (int i = 0, width; (width = static_cast<int>(SendMessageA(child, LVM_GETCOLUMNWIDTH, i, 0))) > 0; ++i)
    columns += width;
  const bool scrolls = (GetWindowLongA(child, GWL_STYLE) & WS_HSCROLL) != 0;
  if (columns > client.right || scrolls) {
    std::printf("cut: list columns %d px wide in a client area of %ld px%s\n", columns, client.right,
                scrolls ? ", with a horizontal scroll bar" : "");
    ++*reinterpret_cast<int*>(cut);
  }
  return TRUE;
}

int Fits(HWND top) {
  if (!IsWindow(top)) return 1;
  int cut = 0;
  EnumChildWindows(top, CheckFits, reinterpret_cast<LPARAM>(&cut));
  return cut == 0 ? 0 : 1;
}

// The caller ends the lock early by closing the pipe of our standard input.
DWORD WINAPI WaitForInputEnd(void*) {
  char buffer[64];
  DWORD read = 0;
  const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  while (ReadFile(input, buffer, sizeof buffer, &read, nullptr) && read > 0) {
  }
  return 0;
}

int LockFile(const char* path, DWORD seconds) {
  const HANDLE file = CreateFileW(os::Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    std::printf("not locked: error %lu\n", GetLastError());
    return 1;
  }
  std::printf("locked\n");
  std::fflush(stdout);
  const HANDLE waiter = CreateThread(nullptr, 0, WaitForInputEnd, nullptr, 0, nullptr);
  if (waiter) WaitForSingleObject(waiter, seconds * 1000);
  else Sleep(seconds * 1000);
  CloseHandle(file);
  std::printf("unlocked\n");
  std::fflush(stdout);
  if (waiter) CloseHandle(waiter);
  return 0;
}

}  // namespace

// The text bytes of a hex string ("CFF0" gives 0xCF 0xF0); false for anything else.
bool HexBytes(const std::string& hex, std::string& bytes) {
  if (hex.size() % 2 != 0) return false;
  for (size_t i = 0; i < hex.size(); i += 2) {
    char* end = nullptr;
    const std::string pair = hex.substr(i, 2);
    const unsigned long value = std::strtoul(pair.c_str(), &end, 16);
    if (*end) return false;
    bytes += static_cast<char>(value);
  }
  return true;
}

// Writes the text (at most 255 bytes and a zero) where the fax server puts it and sets its event.
int SignalText(const char* map, const char* eventName, const std::string& text) {
  const os::UniqueHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, os::Wide(map).c_str()));
  const os::UniqueView view(mapping ? MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 0) : nullptr);
  const os::UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, FALSE, os::Wide(eventName).c_str()));
  if (!view || !event) return 1;
  std::strncpy(static_cast<char*>(view.get()) + 8, text.c_str(), 255);
  return SetEvent(event.get()) ? 0 : 1;
}

int Run(int argc, char** argv) {
  if (argc < 2) return 2;
  // Window rectangles in the pixels of the screen, whatever the scaling of the programs it inspects.
  SetProcessDPIAware();
  const std::string verb = argv[1];
  if (verb == "find" && argc >= 3) return Find(argc, argv);
  if (verb == "info" && argc == 3) return Info(Handle(argv[2]));
  if (verb == "count" && argc == 4) {
    Count count{argv[2], argv[3], 0};
    EnumWindows(CountVisible, reinterpret_cast<LPARAM>(&count));
    std::printf("%d\n", count.found);
    return 0;
  }
  if (verb == "child" && argc == 4) return PrintHandle(GetDlgItem(Handle(argv[2]), static_cast<int>(Number(argv[3]))));
  if (verb == "visible-children" && argc == 3) return VisibleChildren(Handle(argv[2]));
  if (verb == "descendant" && argc == 4) return Descendant(Handle(argv[2]), static_cast<int>(Number(argv[3])));
  if (verb == "clipboard" && argc == 2) return Clipboard();
  if (verb == "save-as" && argc == 5) return SaveAs(argv[2], argv[3], static_cast<DWORD>(Number(argv[4])));
  if (verb == "rect" && argc == 3) return Rect(Handle(argv[2]));
  if (verb == "size" && argc == 5) {
    const BOOL sized = SetWindowPos(Handle(argv[2]), nullptr, 0, 0, static_cast<int>(Number(argv[3])),
                                    static_cast<int>(Number(argv[4])), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return sized ? Rect(Handle(argv[2])) : 1;
  }
  if (verb == "hold-mutex" && argc == 4) {
    // As any program of the session could: a fax service hung inside the race mutex, or a foreign object
    // sitting on a name of the channel.
    const os::UniqueHandle mutex(CreateMutexA(nullptr, TRUE, argv[2]));
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(static_cast<DWORD>(Number(argv[3])));
    return 0;
  }
  if (verb == "signal-text" && argc == 5) return SignalText(argv[2], argv[3], argv[4]);
  if (verb == "signal-bytes" && argc == 5) {
    std::string bytes;
    return HexBytes(argv[4], bytes) ? SignalText(argv[2], argv[3], bytes) : 2;
  }
  if (verb == "tree-texts" && argc == 3) return PrintTreeTexts(Handle(argv[2]));
  if (verb == "text" && argc == 3) {
    if (!IsWindow(Handle(argv[2]))) return 1;
    std::printf("%s\n", WindowText(Handle(argv[2])).c_str());
    return 0;
  }
  if ((verb == "post" || verb == "send" || verb == "send-timed") && argc == 6) {
    const HWND hwnd = Handle(argv[2]);
    const UINT message = static_cast<UINT>(Number(argv[3]));
    const WPARAM wParam = static_cast<WPARAM>(Number(argv[4]));
    const LPARAM lParam = static_cast<LPARAM>(Number(argv[5]));
    if (verb == "post") return PostMessageA(hwnd, message, wParam, lParam) ? 0 : 1;
    DWORD_PTR result = 0;
    const ULONGLONG start = GetTickCount64();
    if (!SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) return 1;
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (verb == "send") std::printf("%lld\n", static_cast<long long>(result));
    else std::printf("%lld %llu\n", static_cast<long long>(result), elapsed);
    return 0;
  }
  if (verb == "command" && argc == 4)
    return PostMessageA(Handle(argv[2]), WM_COMMAND, static_cast<WPARAM>(Number(argv[3])), 0) ? 0 : 1;
  if (verb == "keys" && argc >= 4) return Keys(argc, argv);
  if (verb == "chord" && argc >= 4) return Chord(argc, argv);
  if (verb == "msgbox" && argc == 3) return MessageBoxCommand(static_cast<DWORD>(Number(argv[2])));
  if (verb == "no-msgbox" && argc == 3)
    return WaitFor(static_cast<DWORD>(Number(argv[2])), [] { return FindVisible("#32770") != nullptr; }) ? 1 : 0;
  if (verb == "popup-menu" && argc == 3) {
    HWND menu = nullptr;
    if (!WaitFor(static_cast<DWORD>(Number(argv[2])), [&] { return (menu = FindVisible("#32768")) != nullptr; }))
      return 1;
    std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(menu)));
    return 0;
  }
  if (verb == "wait-gone" && argc == 4) {
    const HWND hwnd = Handle(argv[2]);
    return WaitFor(static_cast<DWORD>(Number(argv[3])), [&] { return !IsWindow(hwnd); }) ? 0 : 1;
  }
  if (verb == "tray-exists" && argc == 4)
    return ShellIcon(NIM_MODIFY, Handle(argv[2]), static_cast<UINT>(Number(argv[3]))) ? 0 : 1;
  if (verb == "tray-delete" && argc == 4)
    return ShellIcon(NIM_DELETE, Handle(argv[2]), static_cast<UINT>(Number(argv[3]))) ? 0 : 1;
  if (verb == "process" && argc == 3) return PrintProcessStats(Handle(argv[2]));
  if (verb == "tray-tips" && argc == 2) return PrintTrayTips();
  if (verb == "fits" && argc == 3) return Fits(Handle(argv[2]));
  if (verb == "lock-file" && argc == 4) return LockFile(argv[2], static_cast<DWORD>(Number(argv[3])));
  if (verb == "broadcast" && argc == 3)
    return PostMessageA(HWND_BROADCAST, RegisterWindowMessageA(argv[2]), 0, 0) ? 0 : 1;
  return 2;
}

// The arguments as the UTF-16 command line holds them, in UTF-8: the 8-bit argv of the C runtime
// would hold '?' for letters outside the ANSI code page.
int main() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  const os::UniqueLocal owner(static_cast<HLOCAL>(arguments));
  if (!arguments) return 2;
  std::vector<std::string> utf8;
  for (int i = 0; i < count; ++i) utf8.push_back(os::Utf8(arguments[i]));
  std::vector<char*> argv;
  for (std::string& argument : utf8) argv.push_back(argument.data());
  return Run(count, argv.data());
}
