#pragma once
// A group box of a dialog template painted in the theme's colours: a frame in the accent colour and
// the caption in the frame text colour on the face of the dialog that holds it.
#include <windows.h>

namespace fw {

class ThemedGroupBox {
 public:
  ThemedGroupBox() = default;
  ThemedGroupBox(const ThemedGroupBox&) = delete;
  ThemedGroupBox& operator=(const ThemedGroupBox&) = delete;
  ~ThemedGroupBox();

  // Takes over the painting of a group box control; false when it is not a window.
  bool Attach(HWND control);
  HWND Hwnd() const { return m_hwnd; }

 private:
  void Paint(HDC dc) const;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR self);
  HWND m_hwnd = nullptr;
};

}  // namespace fw
