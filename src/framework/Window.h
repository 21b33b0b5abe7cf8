#pragma once
// Window base of the framework: binds a C++ object to its window from WM_NCCREATE to WM_NCDESTROY and
// hands every message to the object's message map. Nothing thrown crosses the window procedure.
#include <windows.h>

#include <span>

#include "framework/MessageMap.h"

namespace fw {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  HWND Hwnd() const { return m_hwnd; }

  // Registers a window class whose procedure is the framework's, unless the class is registered already.
  static bool RegisterClassOnce(WNDCLASSEXW windowClass);

  // Lets PreCreateWindow adjust the creation values, then creates the window bound to this object.
  bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y, int width,
                int height, HWND parent, HMENU menu);
  void Destroy();
  // Binds this object to a window that was created elsewhere (a control of a dialog template) whose
  // class uses the framework's procedure; false if the window is already bound.
  bool Attach(HWND hwnd);

 protected:
  virtual bool PreCreateWindow(CREATESTRUCTW& /*cs*/) { return true; }
  // The object's message map; false lets the default window procedure handle the message.
  virtual bool HandleMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/, LRESULT& /*result*/) {
    return false;
  }
  // Called after the window is gone (WM_NCDESTROY); the object may still be alive.
  virtual void OnWindowGone() {}
  virtual LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam);

  // For window kinds with a procedure of their own (dialogs): bind and unbind this object.
  void BindHwnd(HWND hwnd) { m_hwnd = hwnd; }
  void UnbindHwnd() { m_hwnd = nullptr; }
  // The message map behind an exception barrier; false when not handled (or when it threw).
  bool SafeHandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

  // Runs the first entry of map that matches the message; false when none does, or when the entry
  // leaves the message to the platform afterwards (Platform::After).
  template <class T>
  bool Dispatch(std::span<const MessageEntry<T>> map, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    for (const MessageEntry<T>& entry : map) {
      if (!Matches(entry, message, wParam, lParam)) continue;
      T& self = static_cast<T&>(*this);
      switch (entry.platform) {
        case Platform::Before:
          result = DefaultProc(message, wParam, lParam);
          entry.crack(self, wParam, lParam);
          return true;
        case Platform::After:
          entry.crack(self, wParam, lParam);
          return false;
        case Platform::Skipped:
          result = entry.crack(self, wParam, lParam);
          return true;
      }
    }
    return false;
  }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT Route(Window* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND m_hwnd = nullptr;
};

}  // namespace fw
