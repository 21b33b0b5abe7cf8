#include "framework/SubclassedWindow.h"

namespace fw {

SubclassedWindow::~SubclassedWindow() {
  if (Hwnd()) Detach();
}

bool SubclassedWindow::Attach(HWND hwnd) {
  if (!IsWindow(hwnd) || Hwnd() || GetWindowLongPtrA(hwnd, GWLP_USERDATA)) return false;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_controlProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassedWindow::SubclassProc)));
  BindHwnd(hwnd);
  return true;
}

void SubclassedWindow::Detach() {
  SetWindowLongPtrA(Hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_controlProc));
  SetWindowLongPtrA(Hwnd(), GWLP_USERDATA, 0);
  UnbindHwnd();
}

LRESULT CALLBACK SubclassedWindow::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<SubclassedWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  if (!self->SafeHandleMessage(message, wParam, lParam, result)) result = self->DefaultProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    self->Detach();
    self->OnWindowGone();
  }
  return result;
}

LRESULT SubclassedWindow::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(m_controlProc, Hwnd(), message, wParam, lParam);
}

}  // namespace fw
