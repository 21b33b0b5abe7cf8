#include "framework/Window.h"

namespace fw {

Window::~Window() {
  // A window that outlives its object must not reach it any more.
  if (m_hwnd) SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
}

bool Window::RegisterClassOnce(WNDCLASSEXW windowClass) {
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = &Window::WindowProc;
  if (!windowClass.hInstance) windowClass.hInstance = GetModuleHandleW(nullptr);
  WNDCLASSEXW registered{};
  registered.cbSize = sizeof registered;
  if (GetClassInfoExW(windowClass.hInstance, windowClass.lpszClassName, &registered)) return true;
  return RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

bool Window::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                      int width, int height, HWND parent, HMENU menu) {
  CREATESTRUCTW cs{};
  cs.dwExStyle = exStyle;
  cs.lpszClass = className;
  cs.lpszName = title;
  cs.style = static_cast<LONG>(style);
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.hwndParent = parent;
  cs.hMenu = menu;
  cs.hInstance = GetModuleHandleW(nullptr);
  cs.lpCreateParams = this;
  if (!PreCreateWindow(cs)) return false;
  HWND hwnd = CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                              cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, this);
  return hwnd != nullptr;
}

bool Window::Attach(HWND hwnd) {
  if (!IsWindow(hwnd) || m_hwnd || GetWindowLongPtrW(hwnd, GWLP_USERDATA) != 0) return false;
  m_hwnd = hwnd;
  SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void Window::Destroy() {
  if (m_hwnd) DestroyWindow(m_hwnd);
}

LRESULT Window::DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(m_hwnd, message, wParam, lParam);
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    // Controls created by the dialog manager carry no object: they are attached later.
    auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) {
      self->m_hwnd = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
  }
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  try {
    return Route(self, hwnd, message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

bool Window::SafeHandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  try {
    return HandleMessage(message, wParam, lParam, result);
  } catch (...) {
    return false;
  }
}

LRESULT Window::Route(Window* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  const bool handled = self->HandleMessage(message, wParam, lParam, result);
  if (!handled) result = self->DefaultProc(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->m_hwnd = nullptr;
    self->OnWindowGone();
  }
  return result;
}

}  // namespace fw
