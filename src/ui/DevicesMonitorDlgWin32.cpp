#include "ui/DevicesMonitorDlgWin32.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "common/Trace.h"
#include "framework/ColorizedTheme.h"
#include "framework/Dpi.h"
#include "framework/WindowText.h"
#include "os/DeviceContext.h"
#include "res/resource.h"

namespace tfm {
namespace {

BOOL CALLBACK SetFontOf(HWND child, LPARAM font) {
  SendMessageW(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
  return TRUE;
}

BOOL CALLBACK TellColoursChanged(HWND child, LPARAM) {
  SendMessageW(child, WM_SYSCOLORCHANGE, 0, 0);
  return TRUE;
}

}  // namespace

CDevicesMonitorDlg::CDevicesMonitorDlg(const DevicesMonitorSources& sources, DevicesMonitorTab firstTab)
    : fw::ResizableDialog(IDD_DEVICES_MONITOR, &m_theme),
      m_pages(&m_theme),
      m_isdnPage(sources.capiAvailable, sources.capi, sources.getProfile, m_notice, &m_theme),
      m_modemPage(sources.modems, &m_theme),
      m_activityPage(sources.workersRunning, sources.activity, &m_theme),
      m_callPage(&sources.callFeed, sources.phoneBook, &m_theme),
      m_firstTab(firstTab) {
  // The dialog manager creates the container, tab and tree controls by class name.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  fw::TabPageContainer::RegisterWindowClass();
  m_theme.SetTintColors(kThemeFirstTint, kThemeSecondTint);
  m_theme.RecalcColors();
}

const fw::MessageEntry<CDevicesMonitorDlg> CDevicesMonitorDlg::kMessageMap[] = {
    fw::OnPaint<&CDevicesMonitorDlg::OnPaint>(),
    fw::OnMessage<&CDevicesMonitorDlg::OnQueryDragIcon>(WM_QUERYDRAGICON),
    // The dialog manager then scales the template's controls and fonts, where the system does that.
    fw::OnDpiChanged<&CDevicesMonitorDlg::OnDpiChanged>(fw::Platform::After),
    fw::OnMessage<&CDevicesMonitorDlg::OnColoursChanged>(WM_SYSCOLORCHANGE),
    fw::OnMessage<&CDevicesMonitorDlg::OnThemeChanged>(WM_THEMECHANGED),
    fw::OnSettingChange<&CDevicesMonitorDlg::OnSettingChange>(),
};

void CDevicesMonitorDlg::OwnedNotice::Tell(const char* text) {
  fw::ShowMessage(m_dialog.Hwnd(), text, MB_OK | MB_SETFOREGROUND);
}

void CDevicesMonitorDlg::AddPage(fw::Dialog& page, const char* title) {
  if (!page.CreateChild(m_pages.Hwnd()) || !m_pages.AddPage(page.Hwnd(), title)) {
    TraceF("devices monitor: page \"%s\" not created", title);
  }
}

bool CDevicesMonitorDlg::OnInitDialog() {
  fw::ResizableDialog::OnInitDialog();
  m_pages.Attach(Item(IDC_DEVICES_TABS));
  SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);

  AddAnchor(IDCANCEL, fw::kBottomRight);
  AddAnchor(IDOK, fw::kBottomRight);
  AddAnchor(IDC_DEVICES_TABS, fw::kTopLeft, fw::kBottomRight);
  AddAnchor(IDC_DEVICES_BANNER, fw::kBottomLeft);
  m_pages.SetTabEdge(fw::TabEdge::Top);

  LoadIcons(fw::WindowDpi(Hwnd()));

  AddPage(m_isdnPage, "ISDN Devices");
  AddPage(m_modemPage, "Modems");
  AddPage(m_callPage, "Call Monitor");
  AddPage(m_activityPage, "Activity Monitor");
  m_pages.SelectPage(static_cast<int>(m_firstTab));
  if (m_callToShow) ShowCall(*m_callToShow);
  ApplyMessageFont(fw::WindowDpi(Hwnd()));
  TraceF("devices monitor: open with %d tabs, showing \"%s\"", m_pages.PageCount(),
         m_pages.PageTitle(m_pages.SelectedPage()).c_str());
  SetFocus(m_pages.TabStrip());
  return false;  // the focus is set
}

bool CDevicesMonitorDlg::PreTranslateMessage(const MSG& message) {
  return m_pages.SwitchOnKey(message) || m_callPage.OnDialogKey(message) || MoveFocusOnTab(message) ||
         KeepEnterInList(message);
}

// Tab and Shift+Tab walk the tab strip, the shown page's controls, OK and Cancel, and wrap around.
bool CDevicesMonitorDlg::MoveFocusOnTab(const MSG& message) {
  if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || GetKeyState(VK_CONTROL) < 0 ||
      GetKeyState(VK_MENU) < 0)
    return false;
  std::vector<HWND> order = m_pages.FocusOrder();
  for (const int id : {IDOK, IDCANCEL}) order.push_back(Item(id));
  const HWND focus = GetFocus();
  const auto at =
      std::find_if(order.begin(), order.end(), [focus](HWND item) { return item == focus || IsChild(item, focus); });
  const bool back = GetKeyState(VK_SHIFT) < 0;
  const size_t count = order.size();
  size_t next = back ? count - 1 : 0;
  if (at != order.end()) next = (static_cast<size_t>(at - order.begin()) + (back ? count - 1 : 1)) % count;
  SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(order[next]), TRUE);
  SendMessageW(Hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  return true;
}

// Enter in a list or a tree is the control's own key (it may act on the item), never the default button's.
bool CDevicesMonitorDlg::KeepEnterInList(const MSG& message) {
  if ((message.message != WM_KEYDOWN && message.message != WM_CHAR) || message.wParam != VK_RETURN) return false;
  wchar_t name[32] = L"";
  GetClassNameW(message.hwnd, name, static_cast<int>(std::size(name)));
  if (lstrcmpiW(name, WC_LISTVIEWW) != 0 && lstrcmpiW(name, WC_TREEVIEWW) != 0) return false;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  return true;
}

void CDevicesMonitorDlg::ShowTab(DevicesMonitorTab tab) {
  if (!Hwnd()) return;
  m_pages.SelectPage(static_cast<int>(tab));
  if (IsIconic(Hwnd())) ShowWindow(Hwnd(), SW_RESTORE);
  SetForegroundWindow(Hwnd());
  TraceF("devices monitor: to the front, showing \"%s\"", m_pages.PageTitle(m_pages.SelectedPage()).c_str());
}

void CDevicesMonitorDlg::ShowCall(const CallLogRow& call) {
  if (!Hwnd()) {
    m_callToShow = call;
    m_firstTab = DevicesMonitorTab::CallMonitor;
    return;
  }
  m_pages.SelectPage(static_cast<int>(DevicesMonitorTab::CallMonitor));
  m_callPage.SelectCall(call);
}

void CDevicesMonitorDlg::LoadIcons(UINT dpi) {
  os::UniqueIcon icon = fw::LoadIconForDpi(IDR_MAINFRAME, SM_CXICON, SM_CYICON, dpi);
  os::UniqueIcon smallIcon = fw::LoadIconForDpi(IDR_MAINFRAME, SM_CXSMICON, SM_CYSMICON, dpi);
  SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon.get()));
  SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon.get()));
  m_icon = std::move(icon);  // the window no longer shows the icons these replace
  m_smallIcon = std::move(smallIcon);
}

void CDevicesMonitorDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
  RescaleLayout(dpi);
  SetWindowPos(Hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
               suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  LoadIcons(dpi);
  fw::TellDescendantsDpi(Hwnd(), dpi);
  ApplyMessageFont(dpi);
  TraceF("devices monitor: %u dpi", dpi);
}

void CDevicesMonitorDlg::ApplyMessageFont(UINT dpi) {
  os::UniqueFont font = fw::CreateMessageFont(dpi);
  if (!font) return;
  EnumChildWindows(Hwnd(), SetFontOf, reinterpret_cast<LPARAM>(font.get()));
  m_font = std::move(font);  // no window uses the one it replaces any more
  m_pages.Layout();          // the tabs' height follows their font
}

void CDevicesMonitorDlg::OnColoursChanged() {
  m_theme.RecalcColors();
  // Child windows hear of the change only from their parent; the common controls need it as well.
  EnumChildWindows(Hwnd(), TellColoursChanged, 0);
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  TraceF("devices monitor: %s colours", m_theme.HighContrast() ? "high-contrast" : "tinted");
}

// A new visual theme may come with other colours and fonts.
void CDevicesMonitorDlg::OnThemeChanged() {
  OnColoursChanged();
  ApplyMessageFont(fw::WindowDpi(Hwnd()));
}

void CDevicesMonitorDlg::OnSettingChange(UINT flag, const wchar_t*) {
  if (flag == SPI_SETHIGHCONTRAST) OnColoursChanged();
  if (flag == SPI_SETNONCLIENTMETRICS) ApplyMessageFont(fw::WindowDpi(Hwnd()));
}

// Minimised, the dialog shows its icon; otherwise it is painted as the dialog manager would.
void CDevicesMonitorDlg::OnPaint() {
  if (!IsIconic(Hwnd())) {
    DefWindowProcW(Hwnd(), WM_PAINT, 0, 0);
    return;
  }
  const os::PaintScope paint(Hwnd());
  SendMessageW(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
  RECT client{};
  GetClientRect(Hwnd(), &client);
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(paint.dc(), x, y, m_icon.get());
}

bool CDevicesMonitorDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CDevicesMonitorDlg>(kMessageMap, message, wParam, lParam, result) ||
         fw::ResizableDialog::HandleMessage(message, wParam, lParam, result);
}

}  // namespace tfm
