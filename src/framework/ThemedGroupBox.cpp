#include "framework/ThemedGroupBox.h"

#include "framework/ColorizedTheme.h"
#include "os/DeviceContext.h"
#include "os/Owned.h"

namespace fw {
namespace {

constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 3;

}  // namespace

const MessageEntry<ThemedGroupBox> ThemedGroupBox::kMessageMap[] = {
    fw::OnPaint<&ThemedGroupBox::OnPaint>(),
    fw::OnEraseBackground<&ThemedGroupBox::OnEraseBackground>(),
};

bool ThemedGroupBox::Attach(HWND control) {
  if (!SubclassedWindow::Attach(control)) return false;
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

bool ThemedGroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<ThemedGroupBox>(kMessageMap, message, wParam, lParam, result);
}

void ThemedGroupBox::OnPaint() {
  const os::PaintScope paint(Hwnd());
  Paint(paint.dc());
}

void ThemedGroupBox::Paint(HDC dc) const {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  wchar_t caption[128] = L"";
  GetWindowTextW(Hwnd(), caption, static_cast<int>(std::size(caption)));
  const auto font = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
  const os::ScopedSelect selectFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE text{};
  GetTextExtentPoint32W(dc, caption, lstrlenW(caption), &text);

  // The dialog's own answer gives the face behind the caption (page or top-level dialog).
  HWND parent = GetParent(Hwnd());
  auto face = reinterpret_cast<HBRUSH>(
      SendMessageW(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Hwnd())));
  if (!face) face = GetSysColorBrush(COLOR_BTNFACE);

  RECT frame = client;
  frame.top += text.cy / 2;
  const os::UniquePen pen(CreatePen(PS_SOLID, 1, ThemeOrSystemColor(m_theme, ThemeColor::Accent)));
  const os::ScopedSelect selectPen(dc, pen.get());
  const os::ScopedSelect selectBrush(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, 6, 6);

  if (!caption[0]) return;
  RECT label{kCaptionIndent, 0, kCaptionIndent + text.cx + 2 * kCaptionPadding, text.cy};
  FillRect(dc, &label, face);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ThemeOrSystemColor(m_theme, ThemeColor::FrameText));
  DrawTextW(dc, caption, -1, &label, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace fw
