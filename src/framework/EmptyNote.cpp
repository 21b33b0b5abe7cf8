#include "framework/EmptyNote.h"

#include "framework/ResizableDialog.h"
#include "os/Text.h"

namespace fw {

bool EmptyNote::Create(ResizableDialog& page, int controlId, const std::string& text) {
  m_control = page.Item(controlId);
  if (!m_control) return false;
  RECT place{};
  GetWindowRect(m_control, &place);
  MapWindowPoints(nullptr, page.Hwnd(), reinterpret_cast<POINT*>(&place), 2);
  m_note = CreateWindowExW(0, L"STATIC", os::Wide(text).c_str(), WS_CHILD | SS_CENTER | SS_CENTERIMAGE | SS_NOPREFIX,
                           place.left, place.top, place.right - place.left, place.bottom - place.top, page.Hwnd(),
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!m_note) return false;
  SendMessageW(m_note, WM_SETFONT, static_cast<WPARAM>(SendMessageW(page.Hwnd(), WM_GETFONT, 0, 0)), FALSE);
  page.AddAnchor(m_note, kTopLeft, kBottomRight);
  return true;
}

void EmptyNote::Show(bool empty) {
  if (!m_note) return;
  ShowWindow(m_note, empty ? SW_SHOWNA : SW_HIDE);
  ShowWindow(m_control, empty ? SW_HIDE : SW_SHOWNA);
}

}  // namespace fw
