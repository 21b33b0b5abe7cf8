#include "app/TaskbarNotifierWin32.h"

#include <cstring>
#include <utility>

#include "common/DisplayScale.h"
#include "framework/Dpi.h"
#include "framework/HighContrast.h"
#include "os/Text.h"

namespace tfm {

COLORREF CTaskbarNotifier::NormalColour() const {
  return fw::HighContrastOn() ? GetSysColor(COLOR_WINDOWTEXT) : m_normalColour;
}

COLORREF CTaskbarNotifier::HoverColour() const {
  return fw::HighContrastOn() ? GetSysColor(COLOR_HOTLIGHT) : m_hoverColour;
}

bool CTaskbarNotifier::CreatePopup(fw::Window* owner) {
  m_owner = owner;
  WNDCLASSEXW windowClass{};
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = kNotifierWindowClass;
  if (!RegisterClassOnce(windowClass)) return false;
  return CreateEx(0, kNotifierWindowClass, nullptr, WS_POPUP, 0, 0, 0, 0, owner ? owner->Hwnd() : nullptr,
                  nullptr);
}

const fw::MessageEntry<CTaskbarNotifier> CTaskbarNotifier::kMessageMap[] = {
    fw::OnMessage<&CTaskbarNotifier::OnCreate>(WM_CREATE),
    fw::OnDpiChanged<&CTaskbarNotifier::OnDpiChanged>(),
};

bool CTaskbarNotifier::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CTaskbarNotifier>(kMessageMap, message, wParam, lParam, result);
}

void CTaskbarNotifier::OnCreate() {
  m_hoverCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32649));  // the hand
  m_dpi = fw::WindowDpi(Hwnd());
}

UINT CTaskbarNotifier::Dpi() const { return m_dpi != 0 ? m_dpi : fw::WindowDpi(nullptr); }

int CTaskbarNotifier::Scale(int designPixels) const { return ScaleForDpi(designPixels, Dpi()); }

// The skin is drawn for 96 DPI; at another DPI it is loaded stretched to the scaled size.
bool CTaskbarNotifier::LoadSkin(UINT bitmapId) {
  m_skin.reset();
  const auto load = [bitmapId](int width, int height) {
    return os::UniqueBitmap(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId),
                                                            IMAGE_BITMAP, width, height, 0)));
  };
  os::UniqueBitmap skin = load(0, 0);
  if (!skin) return false;
  m_skinId = bitmapId;
  BITMAP info{};
  GetObjectW(skin.get(), sizeof info, &info);
  m_skinWidth = Scale(info.bmWidth);
  m_skinHeight = Scale(info.bmHeight);
  m_skin = m_skinWidth == info.bmWidth && m_skinHeight == info.bmHeight ? std::move(skin)
                                                                        : load(m_skinWidth, m_skinHeight);
  m_textArea = {0, 0, m_skinWidth, m_skinHeight};
  return static_cast<bool>(m_skin);
}

// Moved to a monitor of another DPI: the skin is loaded again at the new size, the text area scaled
// with it and the fonts made again for the new DPI.
void CTaskbarNotifier::OnDpiChanged(UINT dpi, const RECT& suggested) {
  const UINT previous = Dpi();
  m_dpi = dpi;
  SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  const RECT area = m_textArea;
  if (m_skinId != 0) LoadSkin(m_skinId);
  const auto rescale = [&](LONG value) { return MulDiv(value, static_cast<int>(dpi), static_cast<int>(previous)); };
  m_textArea = {rescale(area.left), rescale(area.top), rescale(area.right), rescale(area.bottom)};
  if (!m_fontFace.empty()) CreateFonts();
}

static HFONT CreateStyledFont(LOGFONTW description, int styleMask) {
  description.lfWeight = (styleMask & kFontBold) ? FW_BOLD : FW_NORMAL;
  description.lfItalic = (styleMask & kFontItalic) ? TRUE : FALSE;
  description.lfUnderline = (styleMask & kFontUnderline) ? TRUE : FALSE;
  return CreateFontIndirectW(&description);
}

bool CTaskbarNotifier::SetFonts(const char* face, int tenthsOfPoint, int normalStyle, int hoverStyle) {
  m_fontFace = face ? face : "";
  m_fontTenthsOfPoint = tenthsOfPoint;
  m_normalStyle = normalStyle;
  m_hoverStyle = hoverStyle;
  return CreateFonts();
}

bool CTaskbarNotifier::CreateFonts() {
  m_normalFont.reset();
  // A point font: the height in tenths of a point converted for the window's DPI.
  LOGFONTW request{};
  request.lfHeight = -MulDiv(m_fontTenthsOfPoint, static_cast<int>(Dpi()), 720);
  request.lfCharSet = DEFAULT_CHARSET;
  wcsncpy(request.lfFaceName, os::Wide(m_fontFace).c_str(), std::size(request.lfFaceName) - 1);
  os::UniqueFont pointFont(CreateFontIndirectW(&request));
  if (!pointFont) return false;
  LOGFONTW description{};
  GetObjectW(pointFont.get(), sizeof description, &description);
  m_normalFont.reset(CreateStyledFont(description, m_normalStyle));
  m_hoverFont.reset(CreateStyledFont(description, m_hoverStyle));
  return m_normalFont && m_hoverFont;
}

void CTaskbarNotifier::SetColours(COLORREF normal, COLORREF hover) {
  m_normalColour = normal;
  m_hoverColour = hover;
  if (Hwnd()) RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CTaskbarNotifier::SetTextArea(int left, int top, int right, int bottom) { m_textArea = {left, top, right, bottom}; }

}  // namespace tfm
