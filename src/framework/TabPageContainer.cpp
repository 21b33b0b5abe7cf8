#include "framework/TabPageContainer.h"

#include <commctrl.h>

#include "framework/ColorizedTheme.h"
#include "os/DeviceContext.h"
#include "os/Text.h"

namespace fw {
namespace {

constexpr int kSelectedBarThickness = 3;

BOOL CALLBACK CollectTabStop(HWND child, LPARAM found) {
  const bool stop = (GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0;
  if (stop && IsWindowVisible(child) && IsWindowEnabled(child))
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
  return TRUE;
}

}  // namespace

const MessageEntry<TabPageContainer> TabPageContainer::kMessageMap[] = {
    fw::OnSize<&TabPageContainer::OnSize>(),
    fw::OnEraseBackground<&TabPageContainer::OnEraseBackground>(),
    fw::OnNotify<&TabPageContainer::OnStripNotify>(kTabStripId),
};

const MessageEntry<TabPageContainer::Strip> TabPageContainer::Strip::kMessageMap[] = {
    fw::OnPaint<&Strip::OnPaint>(),
    fw::OnEraseBackground<&Strip::OnEraseBackground>(),
    fw::OnFocus<&Strip::OnFocusChange>(WM_SETFOCUS, fw::Platform::After),
    fw::OnFocus<&Strip::OnFocusChange>(WM_KILLFOCUS, fw::Platform::After),
};

bool TabPageContainer::RegisterWindowClass() {
  WNDCLASSEXW windowClass{};
  windowClass.lpszClassName = kClassName;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  return RegisterClassOnce(windowClass);
}

bool TabPageContainer::Attach(HWND control) {
  if (!Window::Attach(control)) return false;
  SetWindowLongW(control, GWL_EXSTYLE, GetWindowLongW(control, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  RECT client{};
  GetClientRect(control, &client);
  const HWND strip = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                     0, 0, client.right, client.bottom, control,
                                     reinterpret_cast<HMENU>(kTabStripId), GetModuleHandleW(nullptr), nullptr);
  if (!m_strip.Attach(strip)) return false;
  const LRESULT font = SendMessageW(GetParent(control), WM_GETFONT, 0, 0);
  SendMessageW(strip, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
  return true;
}

void TabPageContainer::SetTabEdge(TabEdge edge) {
  if (!TabStrip()) return;
  LONG style = GetWindowLongW(TabStrip(), GWL_STYLE) & ~TCS_BOTTOM;
  if (edge == TabEdge::Bottom) style |= TCS_BOTTOM;
  SetWindowLongW(TabStrip(), GWL_STYLE, style);
  Layout();
}

bool TabPageContainer::AddPage(HWND page, const std::string& title) {
  if (!TabStrip() || !IsWindow(page)) return false;
  std::wstring text = os::Wide(title);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  const int index = static_cast<int>(SendMessageW(TabStrip(), TCM_INSERTITEMW, m_pages.size(), reinterpret_cast<LPARAM>(&item)));
  if (index < 0) return false;
  m_pages.push_back(page);
  SetWindowLongW(page, GWL_EXSTYLE, GetWindowLongW(page, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  if (m_pages.size() == 1) TabCtrl_SetCurSel(TabStrip(), 0);
  Layout();
  ShowSelectedPage();
  return true;
}

void TabPageContainer::SelectPage(int index) {
  if (!TabStrip() || index < 0 || index >= PageCount()) return;
  TabCtrl_SetCurSel(TabStrip(), index);
  ShowSelectedPage();
}

void TabPageContainer::SelectNextPage(int step) {
  const int count = PageCount();
  const int selected = SelectedPage();
  if (count == 0 || selected < 0) return;
  const HWND oldPage = m_pages[static_cast<size_t>(selected)];
  const int next = ((selected + step) % count + count) % count;
  SelectPage(next);
  const HWND focus = GetFocus();
  if (focus != oldPage && !IsChild(oldPage, focus)) return;
  const HWND page = m_pages[static_cast<size_t>(next)];
  const HWND first = GetNextDlgTabItem(page, nullptr, FALSE);
  SetFocus(first && IsChild(page, first) && IsWindowVisible(first) ? first : TabStrip());
}

bool TabPageContainer::SwitchOnKey(const MSG& message) {
  if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return false;
  int step = 0;
  if (message.wParam == VK_TAB) step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
  if (message.wParam == VK_NEXT) step = 1;
  if (message.wParam == VK_PRIOR) step = -1;
  if (step == 0) return false;
  SelectNextPage(step);
  // Keyboard use turns the focus cues on, as the dialog manager does for Tab.
  SendMessageW(GetAncestor(Hwnd(), GA_ROOT), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  return true;
}

int TabPageContainer::SelectedPage() const { return TabStrip() ? TabCtrl_GetCurSel(TabStrip()) : -1; }

std::string TabPageContainer::PageTitle(int index) const {
  wchar_t text[128] = L"";
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  if (!TabStrip() || !SendMessageW(TabStrip(), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return {};
  return os::Utf8(text);
}

RECT TabPageContainer::PageArea() const {
  RECT area{};
  if (!TabStrip()) return area;
  GetClientRect(Hwnd(), &area);
  TabCtrl_AdjustRect(TabStrip(), FALSE, &area);
  return area;
}

std::vector<HWND> TabPageContainer::FocusOrder() const {
  std::vector<HWND> order;
  if (!TabStrip()) return order;
  order.push_back(TabStrip());
  const int selected = SelectedPage();
  if (selected < 0 || selected >= PageCount()) return order;
  // Children come parent first, each level in its z-order, which is the order of the page's template.
  EnumChildWindows(Page(selected), CollectTabStop, reinterpret_cast<LPARAM>(&order));
  return order;
}

void TabPageContainer::Layout() {
  if (!TabStrip()) return;
  RECT client{};
  GetClientRect(Hwnd(), &client);
  SetWindowPos(TabStrip(), HWND_BOTTOM, 0, 0, client.right, client.bottom, SWP_NOACTIVATE);
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

bool TabPageContainer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<TabPageContainer>(kMessageMap, message, wParam, lParam, result);
}

void TabPageContainer::OnStripNotify(const NMHDR& header) {
  if (header.hwndFrom == TabStrip() && header.code == TCN_SELCHANGE) ShowSelectedPage();
}

void TabPageContainer::OnWindowGone() { m_pages.clear(); }

bool TabPageContainer::Strip::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<Strip>(kMessageMap, message, wParam, lParam, result);
}

void TabPageContainer::Strip::Fill(HDC dc, RECT rect, ThemeColor which) const {
  FillRect(dc, &rect, ThemeOrSystemBrush(m_theme, which));
}

void TabPageContainer::Strip::PaintTab(HDC dc, int index, bool selected) const {
  RECT tab{};
  if (!TabCtrl_GetItemRect(Hwnd(), index, &tab)) return;
  const bool bottom = (GetWindowLongW(Hwnd(), GWL_STYLE) & TCS_BOTTOM) != 0;
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
    FrameRect(dc, &tab, ThemeOrSystemBrush(m_theme, ThemeColor::TabStrip));
  }
  wchar_t text[128] = L"";
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  SendMessageW(Hwnd(), TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ThemeOrSystemColor(m_theme, selected ? ThemeColor::TabSelectedText : ThemeColor::TabText));
  DrawTextW(dc, text, -1, &tab, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (selected && ShowsFocus()) {
    RECT cue = tab;
    InflateRect(&cue, -3, -(kSelectedBarThickness + 1));  // clear of the accent bar on either edge
    DrawFocusRect(dc, &cue);
  }
}

// Focus cues stay hidden while the user works with the mouse only, as elsewhere in the system.
bool TabPageContainer::Strip::ShowsFocus() const {
  return GetFocus() == Hwnd() && (SendMessageW(Hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS) == 0;
}

void TabPageContainer::Strip::OnPaint() {
  const os::PaintScope paint(Hwnd());
  const HDC dc = paint.dc();
  RECT client{};
  GetClientRect(Hwnd(), &client);
  Fill(dc, client, ThemeColor::TabStrip);
  RECT frame = client;
  TabCtrl_AdjustRect(Hwnd(), FALSE, &frame);
  InflateRect(&frame, 2, 2);
  Fill(dc, frame, ThemeColor::PageFace);
  FrameRect(dc, &frame, ThemeOrSystemBrush(m_theme, ThemeColor::Accent));
  const auto font = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
  os::ScopedSelect selectFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  const int selected = TabCtrl_GetCurSel(Hwnd());
  const int count = TabCtrl_GetItemCount(Hwnd());
  for (int i = 0; i < count; ++i) {
    if (i != selected) PaintTab(dc, i, false);
  }
  if (selected >= 0) PaintTab(dc, selected, true);
}

}  // namespace fw
