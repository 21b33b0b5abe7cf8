#include "framework/WindowText.h"

#include <vector>

#include "common/UserNotice.h"
#include "os/Text.h"

namespace fw {

std::string WindowText(HWND window) {
  std::vector<wchar_t> text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1);
  GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
  return os::Utf8(text.data());
}

int ShowMessage(HWND owner, std::string_view text, UINT style) {
  return MessageBoxW(owner, os::Wide(text).c_str(), os::Wide(tfm::kProgramName).c_str(), style);
}

}  // namespace fw
