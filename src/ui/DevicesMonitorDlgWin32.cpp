#include "ui/DevicesMonitorDlgWin32.h"

#include <commctrl.h>

#include <memory>

#include "common/Trace.h"
#include "framework/ColorizedTheme.h"
#include "os/DeviceContext.h"
#include "res/resource.h"

namespace tfm {

CDevicesMonitorDlg::CDevicesMonitorDlg(const DevicesMonitorSources& sources)
    : fw::ResizableDialog(kTemplateId),
      m_isdnPage(sources.capiAvailable, sources.capi, sources.getProfile, sources.notice),
      m_modemPage(sources.modems),
      m_activityPage(sources.workersRunning),
      m_icon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_dragIcon(m_icon) {
  // The dialog manager creates the container, tab and tree controls by class name.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  fw::TabPageContainer::RegisterWindowClass();
}

void CDevicesMonitorDlg::InstallTheme() {
  auto theme = std::make_unique<fw::CColorizedTheme>();
  theme->SetTintColors(kThemeFirstTint, kThemeSecondTint);
  theme->RecalcColors();
  fw::InstallTheme(std::move(theme));
  RedrawWindow(Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void CDevicesMonitorDlg::AddPage(fw::Dialog& page, const char* title) {
  if (!page.CreateChild(m_pages.Hwnd()) || !m_pages.AddPage(page.Hwnd(), title)) {
    TraceF("devices monitor: page \"%s\" not created", title);
  }
}

bool CDevicesMonitorDlg::OnInitDialog() {
  fw::ResizableDialog::OnInitDialog();
  m_pages.Attach(Item(kContainerId));
  SetWindowPos(Hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  InstallTheme();

  SetWindowLongA(Hwnd(), GWL_STYLE, GetWindowLongA(Hwnd(), GWL_STYLE) & ~WS_THICKFRAME);
  SetWindowPos(Hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  ShowSizeGrip(false);
  AddAnchor(IDCANCEL, fw::kBottomRight);
  AddAnchor(IDOK, fw::kBottomRight);
  AddAnchor(kContainerId, fw::kTopLeft, fw::kBottomRight);
  m_pages.SetTabEdge(fw::TabEdge::Top);

  SendMessageA(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
  SendMessageA(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));

  AddPage(m_isdnPage, "ISDN Devices");
  AddPage(m_modemPage, "Modems");
  AddPage(m_callPage, "Call Monitor");
  AddPage(m_activityPage, "Activity Monitor");
  TraceF("devices monitor: open with %d tabs, showing \"%s\"", m_pages.PageCount(),
         m_pages.PageTitle(m_pages.SelectedPage()).c_str());
  return true;
}

void CDevicesMonitorDlg::PaintMinimised() {
  const os::PaintScope paint(Hwnd());
  SendMessageA(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(paint.dc()), 0);
  RECT client{};
  GetClientRect(Hwnd(), &client);
  const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(paint.dc(), x, y, m_icon);
}

bool CDevicesMonitorDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_PAINT && IsIconic(Hwnd())) {
    PaintMinimised();
    result = 0;
    return true;
  }
  if (message == WM_QUERYDRAGICON) {
    result = reinterpret_cast<LRESULT>(m_dragIcon);
    return true;
  }
  return fw::ResizableDialog::HandleMessage(message, wParam, lParam, result);
}

}  // namespace tfm
