#include "framework/ResizableDialog.h"

#include "framework/Dpi.h"

namespace fw {

POINT ResizableDialog::AnchorPoint(const RECT& client, Anchor anchor) {
  return {MulDiv(client.right - client.left, anchor.xPercent, 100),
          MulDiv(client.bottom - client.top, anchor.yPercent, 100)};
}

bool ResizableDialog::OnInitDialog() {
  RECT window{};
  GetWindowRect(Hwnd(), &window);
  m_minimumSize = {window.right - window.left, window.bottom - window.top};
  m_dpi = WindowDpi(Hwnd());
  RECT client{};
  GetClientRect(Hwnd(), &client);
  const int size = GetSystemMetrics(SM_CXVSCROLL);
  m_grip = CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SBS_SIZEGRIP,
                           client.right - size, client.bottom - size, size, size, Hwnd(), nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  return true;
}

void ResizableDialog::AddAnchor(HWND control, Anchor topLeft, Anchor bottomRight) {
  if (!control || GetParent(control) != Hwnd()) return;
  RECT client{};
  GetClientRect(Hwnd(), &client);
  RECT rect{};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, Hwnd(), reinterpret_cast<POINT*>(&rect), 2);
  const POINT tl = AnchorPoint(client, topLeft);
  const POINT br = AnchorPoint(client, bottomRight);
  m_anchors.push_back({control, topLeft, bottomRight, {rect.left - tl.x, rect.top - tl.y, rect.right - br.x,
                                                        rect.bottom - br.y}});
}

void ResizableDialog::ShowSizeGrip(bool show) {
  if (m_grip) ShowWindow(m_grip, show ? SW_SHOW : SW_HIDE);
}

void ResizableDialog::ArrangeLayout() {
  RECT client{};
  GetClientRect(Hwnd(), &client);
  for (const Anchored& a : m_anchors) {
    const POINT tl = AnchorPoint(client, a.topLeft);
    const POINT br = AnchorPoint(client, a.bottomRight);
    SetWindowPos(a.control, nullptr, tl.x + a.margins.left, tl.y + a.margins.top,
                 (br.x + a.margins.right) - (tl.x + a.margins.left), (br.y + a.margins.bottom) - (tl.y + a.margins.top),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (m_grip) {
    RECT grip{};
    GetWindowRect(m_grip, &grip);
    const int width = grip.right - grip.left;
    const int height = grip.bottom - grip.top;
    SetWindowPos(m_grip, HWND_TOP, client.right - width, client.bottom - height, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  }
  // The dialog paints its face over its children (it does not clip them), and a moved control keeps
  // its old picture: the dialog first, then every control, are painted afresh, at once.
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void ResizableDialog::RescaleLayout(UINT dpi) {
  if (dpi == 0 || m_dpi == 0 || dpi == m_dpi) return;
  const auto scale = [&](LONG& length) { length = MulDiv(length, static_cast<int>(dpi), static_cast<int>(m_dpi)); };
  for (Anchored& a : m_anchors) {
    scale(a.margins.left);
    scale(a.margins.top);
    scale(a.margins.right);
    scale(a.margins.bottom);
  }
  scale(m_minimumSize.cx);
  scale(m_minimumSize.cy);
  m_dpi = dpi;
  ArrangeLayout();
}

const MessageEntry<ResizableDialog> ResizableDialog::kMessageMap[] = {
    fw::OnSize<&ResizableDialog::OnSize>(),
    fw::OnGetMinMaxInfo<&ResizableDialog::OnGetMinMaxInfo>(),
    fw::OnDpiChangedAfterParent<&ResizableDialog::OnParentDpiChanged>(Platform::After),
};

bool ResizableDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<ResizableDialog>(kMessageMap, message, wParam, lParam, result) ||
         Dialog::HandleMessage(message, wParam, lParam, result);
}

void ResizableDialog::OnSize(UINT type, int, int) {
  if (type != SIZE_MINIMIZED) ArrangeLayout();
}

// Before WM_INITDIALOG the size is not known yet, and the system's limits stand.
void ResizableDialog::OnGetMinMaxInfo(MINMAXINFO& limits) const {
  if (m_minimumSize.cx > 0) limits.ptMinTrackSize = {m_minimumSize.cx, m_minimumSize.cy};
}

}  // namespace fw
