#include "framework/SubclassedWindow.h"

namespace fw {

SubclassedWindow::~SubclassedWindow() {
  if (Hwnd()) Detach();
}

bool SubclassedWindow::Attach(HWND hwnd) {
  if (!IsWindow(hwnd) || Hwnd() || GetWindowLongPtrW(hwnd, GWLP_USERDATA)) return false;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_controlProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedWindow::SubclassProc)));
  BindHwnd(hwnd);
  return true;
}

void SubclassedWindow::Detach() {
  SetWindowLongPtrW(Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_controlProc));
  SetWindowLongPtrW(Hwnd(), GWLP_USERDATA, 0);
  UnbindHwnd();
}

LRESULT CALLBACK SubclassedWindow::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<SubclassedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  if (!self->SafeHandleMessage(message, wParam, lParam, result)) result = self->DefaultProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    self->Detach();
    self->OnWindowGone();
  }
  return result;
}

LRESULT SubclassedWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(m_controlProc, Hwnd(), message, wParam, lParam);
}

}  // namespace fw
