#pragma once
// A group box of a dialog template painted in a theme's colours: a frame in the accent colour and the
// caption in the frame text colour on the face of the dialog that holds it. Without a theme the
// system colours stand in.
#include "framework/SubclassedWindow.h"

namespace fw {

class CColorizedTheme;

class ThemedGroupBox : public SubclassedWindow {
 public:
  explicit ThemedGroupBox(const CColorizedTheme* theme) : m_theme(theme) {}

  // Takes over the painting of a group box control; false when it is not a window.
  bool Attach(HWND control);

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnPaint();
  bool OnEraseBackground(HDC) { return true; }  // the frame is drawn over the dialog's face
  void Paint(HDC dc) const;

  static const MessageEntry<ThemedGroupBox> kMessageMap[];
  const CColorizedTheme* m_theme;
};

}  // namespace fw
