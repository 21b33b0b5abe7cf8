#include "PageHost.h"

#include <commctrl.h>

#include "ChartTestWindow.h"
#include "ui/ReportListCtrlWin32.h"

namespace tfm::test {
namespace {

constexpr char kHostClass[] = "TfmPageHost";

LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    if (auto* list = reinterpret_cast<CReportListCtrl*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))) {
      list->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    }
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

PageHost::PageHost() {
  static const bool registered = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kHostClass;
    return RegisterClassExA(&windowClass) != 0;
  }();
  if (!registered) return;
  m_hwnd = CreateWindowExA(0, kHostClass, "page test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 400, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
  SetForegroundWindow(m_hwnd);
  PumpUntilIdle();
}

PageHost::~PageHost() {
  DestroyWindow(m_hwnd);
  PumpUntilIdle();
}

void PageHost::DrawListRows(CReportListCtrl* list) {
  SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(list));
}

namespace {
RECT ClientRect(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return client;
}
}  // namespace

ClientPicture::ClientPicture(HWND window)
    : m_picture(os::WindowDc(window).get(), ClientRect(window).right, ClientRect(window).bottom) {
  SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(m_picture.dc()), PRF_CLIENT | PRF_ERASEBKGND);
}

}  // namespace tfm::test
