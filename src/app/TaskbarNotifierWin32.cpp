#include "app/TaskbarNotifierWin32.h"

#include <cstring>

#include "os/DeviceContext.h"

namespace tfm {

bool CTaskbarNotifier::CreatePopup(fw::Window* owner) {
  m_owner = owner;
  WNDCLASSEXA windowClass{};
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = kNotifierWindowClass;
  if (!RegisterClassOnce(windowClass)) return false;
  return CreateEx(0, kNotifierWindowClass, nullptr, WS_POPUP, 0, 0, 0, 0, owner ? owner->Hwnd() : nullptr,
                  nullptr);
}

const fw::MessageEntry<CTaskbarNotifier> CTaskbarNotifier::kMessageMap[] = {
    fw::OnMessage<&CTaskbarNotifier::OnCreate>(WM_CREATE),
};

bool CTaskbarNotifier::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CTaskbarNotifier>(kMessageMap, message, wParam, lParam, result);
}

void CTaskbarNotifier::OnCreate() {
  m_hoverCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));  // the hand
}

bool CTaskbarNotifier::LoadSkin(UINT bitmapId) {
  m_skin.reset();
  m_skin.reset(static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0)));
  if (!m_skin) return false;
  BITMAP info{};
  GetObjectA(m_skin.get(), sizeof info, &info);
  m_skinWidth = info.bmWidth;
  m_skinHeight = info.bmHeight;
  m_textArea = {0, 0, m_skinWidth, m_skinHeight};
  return true;
}

static HFONT CreateStyledFont(LOGFONTA description, int styleMask) {
  description.lfWeight = (styleMask & kFontBold) ? FW_BOLD : FW_NORMAL;
  description.lfItalic = (styleMask & kFontItalic) ? TRUE : FALSE;
  description.lfUnderline = (styleMask & kFontUnderline) ? TRUE : FALSE;
  return CreateFontIndirectA(&description);
}

bool CTaskbarNotifier::SetFonts(const char* face, int tenthsOfPoint, int normalStyle, int hoverStyle) {
  m_normalFont.reset();
  // A point font: the height in tenths of a point converted for the screen.
  LOGFONTA request{};
  request.lfHeight = -MulDiv(tenthsOfPoint, GetDeviceCaps(os::WindowDc(nullptr).get(), LOGPIXELSY), 720);
  request.lfCharSet = DEFAULT_CHARSET;
  strncpy(request.lfFaceName, face, sizeof request.lfFaceName - 1);
  os::UniqueFont pointFont(CreateFontIndirectA(&request));
  if (!pointFont) return false;
  LOGFONTA description{};
  GetObjectA(pointFont.get(), sizeof description, &description);
  m_normalFont.reset(CreateStyledFont(description, normalStyle));
  m_hoverFont.reset(CreateStyledFont(description, hoverStyle));
  return m_normalFont && m_hoverFont;
}

void CTaskbarNotifier::SetColours(COLORREF normal, COLORREF hover) {
  m_normalColour = normal;
  m_hoverColour = hover;
  if (Hwnd()) RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CTaskbarNotifier::SetTextArea(int left, int top, int right, int bottom) { m_textArea = {left, top, right, bottom}; }

}  // namespace tfm
