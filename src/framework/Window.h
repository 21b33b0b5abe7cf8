#pragma once
// Window base of the framework: binds a C++ object to its window from WM_NCCREATE to WM_NCDESTROY and
// hands every message to the object's message map. Nothing thrown crosses the window procedure.
#include <windows.h>

#include <span>

namespace fw {

// One entry of a message map: a window message, a WM_COMMAND with a command id, or a registered
// message whose number is known only at run time, bound to a handler that unpacks the parameters.
template <class T>
struct MessageEntry {
  UINT message = 0;
  UINT commandId = 0;
  const UINT* registeredMessage = nullptr;
  LRESULT (*handler)(T& self, WPARAM wParam, LPARAM lParam) = nullptr;
};

template <class T>
constexpr MessageEntry<T> OnMessage(UINT message, LRESULT (*handler)(T&, WPARAM, LPARAM)) {
  return {message, 0, nullptr, handler};
}
template <class T>
constexpr MessageEntry<T> OnRegistered(const UINT* message, LRESULT (*handler)(T&, WPARAM, LPARAM)) {
  return {0, 0, message, handler};
}
template <class T>
constexpr MessageEntry<T> OnCommand(UINT commandId, LRESULT (*handler)(T&, WPARAM, LPARAM)) {
  return {WM_COMMAND, commandId, nullptr, handler};
}

// Looks the message up in the map; true when an entry handled it.
template <class T>
bool Dispatch(T& self, std::span<const MessageEntry<T>> map, UINT message, WPARAM wParam, LPARAM lParam,
              LRESULT& result) {
  for (const MessageEntry<T>& entry : map) {
    const bool matches = entry.registeredMessage
                             ? (*entry.registeredMessage != 0 && *entry.registeredMessage == message)
                             : entry.message == message &&
                                   (message != WM_COMMAND || entry.commandId == LOWORD(wParam));
    if (matches && entry.handler) {
      result = entry.handler(self, wParam, lParam);
      return true;
    }
  }
  return false;
}

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Hwnd() const { return m_hwnd; }

  // Registers a window class whose procedure is the framework's, once per class name.
  static bool RegisterClassOnce(WNDCLASSEXA windowClass);

  // Lets PreCreateWindow adjust the creation values, then creates the window bound to this object.
  bool CreateEx(DWORD exStyle, const char* className, const char* title, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menu);
  void Destroy();
  // Binds this object to a window that was created elsewhere (a control of a dialog template) whose
  // class uses the framework's procedure; false if the window is already bound.
  bool Attach(HWND hwnd);

 protected:
  virtual bool PreCreateWindow(CREATESTRUCTA& cs) { return true; }
  // The object's message map; false lets the default window procedure handle the message.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) { return false; }
  // Called after the window is gone (WM_NCDESTROY); the object may still be alive.
  virtual void OnWindowGone() {}
  virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  // For window kinds with a procedure of their own (dialogs): bind and unbind this object.
  void BindHwnd(HWND hwnd) { m_hwnd = hwnd; }
  void UnbindHwnd() { m_hwnd = nullptr; }
  // The message map behind an exception barrier; false when not handled (or when it threw).
  bool SafeHandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT Route(Window* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_hwnd = nullptr;
};

}  // namespace fw
