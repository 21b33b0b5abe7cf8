#include "TreeTextsWin32.h"

#include <commctrl.h>

#include <cstdio>
#include <string>

#include "os/Owned.h"
#include "os/Text.h"

namespace {

constexpr SIZE_T kTextLength = 1024;  // characters read of an item's text at most

struct RemoteTree {
  HWND tree;
  HANDLE process;
  char* remote;  // a TVITEMW followed by the text buffer, in the tree's process
};

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item), SMTO_ABORTIFHUNG, 5000,
                           &result))
    return nullptr;
  return reinterpret_cast<HTREEITEM>(result);
}

// The item's text, asked for with TVM_GETITEMW so that the tree's own UTF-16 text comes back whole.
bool ReadText(const RemoteTree& tree, HTREEITEM item, std::wstring& text) {
  TVITEMW request{};
  request.mask = TVIF_TEXT;
  request.hItem = item;
  request.pszText = reinterpret_cast<wchar_t*>(tree.remote + sizeof request);
  request.cchTextMax = static_cast<int>(kTextLength);
  DWORD_PTR result = 0;
  if (!WriteProcessMemory(tree.process, tree.remote, &request, sizeof request, nullptr) ||
      !SendMessageTimeoutW(tree.tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(tree.remote), SMTO_ABORTIFHUNG, 5000,
                           &result) ||
      !result)
    return false;
  text.assign(kTextLength + 1, L'\0');
  if (!ReadProcessMemory(tree.process, tree.remote + sizeof request, text.data(), kTextLength * sizeof(wchar_t),
                         nullptr))
    return false;
  text.resize(text.find(L'\0'));
  return true;
}

bool PrintLevel(const RemoteTree& tree, HTREEITEM first, int depth) {
  std::wstring text;
  for (HTREEITEM item = first; item; item = Next(tree.tree, TVGN_NEXT, item)) {
    if (!ReadText(tree, item, text)) return false;
    std::printf("%s%s\n", std::string(2 * static_cast<size_t>(depth), ' ').c_str(), os::Utf8(text).c_str());
    if (!PrintLevel(tree, Next(tree.tree, TVGN_CHILD, item), depth + 1)) return false;
  }
  return true;
}

}  // namespace

int PrintTreeTexts(HWND tree) {
  DWORD pid = 0;
  if (!IsWindow(tree) || !GetWindowThreadProcessId(tree, &pid)) return 1;
  const os::UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process) return 1;
  const os::UniqueRemoteBlock block(process.get(), sizeof(TVITEMW) + kTextLength * sizeof(wchar_t));
  if (!block.get()) return 1;
  const RemoteTree remote{tree, process.get(), static_cast<char*>(block.get())};
  return PrintLevel(remote, Next(tree, TVGN_ROOT, nullptr), 0) ? 0 : 1;
}
