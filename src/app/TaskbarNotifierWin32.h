#pragma once
// A skinned pop-up for short notices. Start-up prepares it hidden, owned by the frame; every notice of
// this program goes to the tray tooltip, so the popup is never shown. Skin, fonts and text area are
// sized for the window's DPI and follow it to a monitor of another DPI.
#include <windows.h>

#include <string>

#include "os/Owned.h"
#include "framework/Window.h"

namespace tfm {

inline constexpr wchar_t kNotifierWindowClass[] = L"TelvaroMonitorNotifier";

// Style mask bits of SetFonts.
inline constexpr int kFontBold = 1;
inline constexpr int kFontItalic = 2;
inline constexpr int kFontUnderline = 4;

class CTaskbarNotifier final : public fw::Window {
 public:
  bool CreatePopup(fw::Window* owner);
  bool LoadSkin(UINT bitmapId);
  bool SetFonts(const char* face, int tenthsOfPoint, int normalStyle, int hoverStyle);
  void SetColours(COLORREF normal, COLORREF hover);
  // In pixels of the window, as the skin's size is; Scale turns a length designed for 96 DPI into them.
  void SetTextArea(int left, int top, int right, int bottom);
  int Scale(int designPixels) const;

  int SkinWidth() const { return m_skinWidth; }
  int SkinHeight() const { return m_skinHeight; }
  const RECT& TextArea() const { return m_textArea; }
  HFONT NormalFont() const { return m_normalFont.get(); }
  HFONT HoverFont() const { return m_hoverFont.get(); }
  // The colours set, or the system's text colour while a high-contrast theme is on.
  COLORREF NormalColour() const;
  COLORREF HoverColour() const;
  HCURSOR HoverCursor() const { return m_hoverCursor; }
  fw::Window* Owner() const { return m_owner; }

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnCreate();
  void OnDpiChanged(UINT dpi, const RECT& suggested);
  UINT Dpi() const;
  bool CreateFonts();

  static const fw::MessageEntry<CTaskbarNotifier> kMessageMap[];
  fw::Window* m_owner = nullptr;
  os::UniqueFont m_normalFont;
  os::UniqueFont m_hoverFont;
  COLORREF m_normalColour = 0;
  COLORREF m_hoverColour = 0;
  HCURSOR m_hoverCursor = nullptr;
  os::UniqueBitmap m_skin;
  RECT m_textArea{};
  int m_skinWidth = 0;
  int m_skinHeight = 0;
  UINT m_skinId = 0;
  UINT m_dpi = 0;  // 0 until the window exists: the system's then applies
  std::string m_fontFace;
  int m_fontTenthsOfPoint = 0;
  int m_normalStyle = 0;
  int m_hoverStyle = 0;
};

}  // namespace tfm
