#include "os/Clipboard.h"

#include <cstring>

#include "os/Owned.h"

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
  UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE, text.size() + 1));
  if (!block) return false;
  auto* bytes = static_cast<char*>(GlobalLock(block.get()));
  if (!bytes) return false;
  std::memcpy(bytes, text.data(), text.size());
  bytes[text.size()] = '\0';
  GlobalUnlock(block.get());
  const OpenClipboardScope clipboard(owner);
  if (!clipboard || !EmptyClipboard() || !SetClipboardData(CF_TEXT, block.get())) return false;
  block.release();  // the clipboard owns it now
  return true;
}

}  // namespace os
