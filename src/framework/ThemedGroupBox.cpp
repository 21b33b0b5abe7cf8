#include "framework/ThemedGroupBox.h"

#include <commctrl.h>

#include "framework/ColorizedTheme.h"
#include "os/DeviceContext.h"
#include "os/Owned.h"

namespace fw {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 3;

}  // namespace

ThemedGroupBox::~ThemedGroupBox() {
  if (m_hwnd) RemoveWindowSubclass(m_hwnd, &ThemedGroupBox::Proc, kSubclassId);
}

bool ThemedGroupBox::Attach(HWND control) {
  if (!IsWindow(control) || m_hwnd) return false;
  if (!SetWindowSubclass(control, &ThemedGroupBox::Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  m_hwnd = control;
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

void ThemedGroupBox::Paint(HDC dc) const {
  RECT client{};
  GetClientRect(m_hwnd, &client);
  char caption[128] = "";
  GetWindowTextA(m_hwnd, caption, static_cast<int>(std::size(caption)));
  const auto font = reinterpret_cast<HFONT>(SendMessageA(m_hwnd, WM_GETFONT, 0, 0));
  const os::ScopedSelect selectFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  SIZE text{};
  GetTextExtentPoint32A(dc, caption, lstrlenA(caption), &text);

  // The dialog's own answer gives the face behind the caption (page or top-level dialog).
  HWND parent = GetParent(m_hwnd);
  auto face = reinterpret_cast<HBRUSH>(
      SendMessageA(parent, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hwnd)));
  if (!face) face = GetSysColorBrush(COLOR_BTNFACE);

  RECT frame = client;
  frame.top += text.cy / 2;
  const os::UniquePen pen(CreatePen(PS_SOLID, 1, ThemeOrSystemColor(ThemeColor::Accent)));
  const os::ScopedSelect selectPen(dc, pen.get());
  const os::ScopedSelect selectBrush(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, 6, 6);

  if (!caption[0]) return;
  RECT label{kCaptionIndent, 0, kCaptionIndent + text.cx + 2 * kCaptionPadding, text.cy};
  FillRect(dc, &label, face);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ThemeOrSystemColor(ThemeColor::FrameText));
  DrawTextA(dc, caption, -1, &label, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CALLBACK ThemedGroupBox::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR self) {
  auto* box = reinterpret_cast<ThemedGroupBox*>(self);
  switch (message) {
    case WM_PAINT: {
      const os::PaintScope paint(hwnd);
      box->Paint(paint.dc());
      return 0;
    }
    case WM_ERASEBKGND: return 1;  // the frame is drawn over the dialog's face
    case WM_NCDESTROY:
      RemoveWindowSubclass(hwnd, &ThemedGroupBox::Proc, kSubclassId);
      box->m_hwnd = nullptr;
      break;
    default: break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace fw
