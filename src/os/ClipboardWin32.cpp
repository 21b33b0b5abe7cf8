#include "os/Clipboard.h"

#include <cstring>

#include "os/Owned.h"
#include "os/Text.h"

namespace os {
namespace {

// Open from construction to destruction, when it opened.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) : m_open(OpenClipboard(owner) != FALSE) {}
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
  ~OpenClipboardScope() {
    if (m_open) CloseClipboard();
  }
  explicit operator bool() const { return m_open; }

 private:
  bool m_open;
};

}  // namespace

bool PutClipboardText(HWND owner, std::string_view text) {
  const std::wstring wide = Wide(text);
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t)));
  if (!block) return false;
  auto* units = static_cast<wchar_t*>(GlobalLock(block.get()));
  if (!units) return false;
  std::memcpy(units, wide.data(), wide.size() * sizeof(wchar_t));
  units[wide.size()] = L'\0';
  GlobalUnlock(block.get());
  const OpenClipboardScope clipboard(owner);
  // Windows offers the text to programs that ask for CF_TEXT too, converted to their code page.
  if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block.get())) return false;
  block.release();  // the clipboard owns it now
  return true;
}

}  // namespace os
