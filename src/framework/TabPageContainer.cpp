#include "framework/TabPageContainer.h"

#include <commctrl.h>

#include "framework/ColorizedTheme.h"
#include "os/DeviceContext.h"

namespace fw {
namespace {

constexpr UINT_PTR kStripSubclassId = 1;
constexpr int kSelectedBarThickness = 3;

void Fill(HDC dc, RECT rect, ThemeColor which) { FillRect(dc, &rect, ThemeOrSystemBrush(which)); }

}  // namespace

bool TabPageContainer::RegisterWindowClass() {
  WNDCLASSEXA windowClass{};
  windowClass.lpszClassName = kClassName;
  windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  return RegisterClassOnce(windowClass);
}

bool TabPageContainer::Attach(HWND control) {
  if (!Window::Attach(control)) return false;
  SetWindowLongA(control, GWL_EXSTYLE, GetWindowLongA(control, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  RECT client{};
  GetClientRect(control, &client);
  m_strip = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0,
                            client.right, client.bottom, control, reinterpret_cast<HMENU>(kTabStripId),
                            GetModuleHandleA(nullptr), nullptr);
  if (!m_strip) return false;
  const LRESULT font = SendMessageA(GetParent(control), WM_GETFONT, 0, 0);
  SendMessageA(m_strip, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  SetWindowSubclass(m_strip, &TabPageContainer::StripProc, kStripSubclassId, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

void TabPageContainer::SetTabEdge(TabEdge edge) {
  if (!m_strip) return;
  LONG style = GetWindowLongA(m_strip, GWL_STYLE) & ~TCS_BOTTOM;
  if (edge == TabEdge::Bottom) style |= TCS_BOTTOM;
  SetWindowLongA(m_strip, GWL_STYLE, style);
  Layout();
}

bool TabPageContainer::AddPage(HWND page, const char* title) {
  if (!m_strip || !IsWindow(page)) return false;
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<char*>(title);
  const int index = static_cast<int>(SendMessageA(m_strip, TCM_INSERTITEMA, m_pages.size(), reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return false;
  m_pages.push_back(page);
  SetWindowLongA(page, GWL_EXSTYLE, GetWindowLongA(page, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  if (m_pages.size() == 1) TabCtrl_SetCurSel(m_strip, 0);
  Layout();
  ShowSelectedPage();
  return true;
}

void TabPageContainer::SelectPage(int index) {
  if (!m_strip || index < 0 || index >= PageCount()) return;
  TabCtrl_SetCurSel(m_strip, index);
  ShowSelectedPage();
}

int TabPageContainer::SelectedPage() const { return m_strip ? TabCtrl_GetCurSel(m_strip) : -1; }

std::string TabPageContainer::PageTitle(int index) const {
  char text[128] = "";
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  if (!m_strip || !SendMessageA(m_strip, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item))) return {};
  return text;
}

RECT TabPageContainer::PageArea() const {
  RECT area{};
  if (!m_strip) return area;
  GetClientRect(Hwnd(), &area);
  TabCtrl_AdjustRect(m_strip, FALSE, &area);
  return area;
}

void TabPageContainer::Layout() {
  if (!m_strip) return;
  RECT client{};
  GetClientRect(Hwnd(), &client);
  SetWindowPos(m_strip, HWND_BOTTOM, 0, 0, client.right, client.bottom, SWP_NOACTIVATE);
  const RECT area = PageArea();
  for (HWND page : m_pages) {
    SetWindowPos(page, HWND_TOP, area.left, area.top, area.right - area.left, area.bottom - area.top, SWP_NOACTIVATE);
  }
}

void TabPageContainer::ShowSelectedPage() {
  const int selected = SelectedPage();
  // Show the new page before hiding the old one, so that the strip never shows through.
  if (selected >= 0 && selected < PageCount()) ShowWindow(m_pages[static_cast<size_t>(selected)], SW_SHOW);
  for (int i = 0; i < PageCount(); ++i) {
    if (i != selected) ShowWindow(m_pages[static_cast<size_t>(i)], SW_HIDE);
  }
}

bool TabPageContainer::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SIZE: Layout(); break;
    case WM_ERASEBKGND: result = 1; return true;  // the strip covers the whole container
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->hwndFrom != m_strip || header->code != TCN_SELCHANGE) return false;
      ShowSelectedPage();
      break;
    }
    default: return false;
  }
  result = 0;
  return true;
}

void TabPageContainer::OnWindowGone() {
  m_strip = nullptr;
  m_pages.clear();
}

void TabPageContainer::PaintTab(HDC dc, int index, bool selected) const {
  RECT tab{};
  if (!TabCtrl_GetItemRect(m_strip, index, &tab)) return;
  const bool bottom = (GetWindowLongA(m_strip, GWL_STYLE) & TCS_BOTTOM) != 0;
  if (selected) InflateRect(&tab, 2, 0);
  // The selected tab joins its page: it reaches over the page frame.
  if (selected) (bottom ? tab.top : tab.bottom) += bottom ? -2 : 2;
  Fill(dc, tab, selected ? ThemeColor::PageFace : ThemeColor::TabFace);
  if (selected) {
    RECT bar = tab;
    if (bottom)
      bar.top = bar.bottom - kSelectedBarThickness;
    else
      bar.bottom = bar.top + kSelectedBarThickness;
    Fill(dc, bar, ThemeColor::Accent);
  } else {
    FrameRect(dc, &tab, ThemeOrSystemBrush(ThemeColor::TabStrip));
  }
  char text[128] = "";
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  SendMessageA(m_strip, TCM_GETITEMA, index, reinterpret_cast<LPARAM>(&item));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ThemeOrSystemColor(selected ? ThemeColor::TabSelectedText : ThemeColor::TabText));
  DrawTextA(dc, text, -1, &tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void TabPageContainer::PaintStrip(HDC dc) const {
  RECT client{};
  GetClientRect(m_strip, &client);
  Fill(dc, client, ThemeColor::TabStrip);
  RECT frame = client;
  TabCtrl_AdjustRect(m_strip, FALSE, &frame);
  InflateRect(&frame, 2, 2);
  Fill(dc, frame, ThemeColor::PageFace);
  FrameRect(dc, &frame, ThemeOrSystemBrush(ThemeColor::Accent));
  const auto font = reinterpret_cast<HFONT>(SendMessageA(m_strip, WM_GETFONT, 0, 0));
  os::ScopedSelect selectFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  const int selected = TabCtrl_GetCurSel(m_strip);
  const int count = TabCtrl_GetItemCount(m_strip);
  for (int i = 0; i < count; ++i) {
    if (i != selected) PaintTab(dc, i, false);
  }
  if (selected >= 0) PaintTab(dc, selected, true);
}

LRESULT CALLBACK TabPageContainer::StripProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR self) {
  switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      const os::PaintScope paint(hwnd);
      reinterpret_cast<const TabPageContainer*>(self)->PaintStrip(paint.dc());
      return 0;
    }
    case WM_NCDESTROY: RemoveWindowSubclass(hwnd, &TabPageContainer::StripProc, kStripSubclassId); break;
    default: break;
  }
  return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace fw
