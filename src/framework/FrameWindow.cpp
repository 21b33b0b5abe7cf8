#include "framework/FrameWindow.h"

#include <iterator>

#include "framework/Application.h"
#include "os/Owned.h"

namespace fw {

bool FrameWindow::LoadFrame(UINT resourceId, DWORD style, const wchar_t* className) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(resourceId));
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = className;
  if (!RegisterClassOnce(windowClass)) return false;

  wchar_t title[128] = L"";
  LoadStringW(instance, resourceId, title, static_cast<int>(std::size(title)));
  // The window owns its menu once it is created with it.
  os::UniqueMenu menu(LoadMenuW(instance, MAKEINTRESOURCEW(resourceId)));
  if (!CreateEx(0, className, title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr,
                menu.get()))
    return false;
  menu.release();
  return true;
}

const MessageEntry<FrameWindow> FrameWindow::kMessageMap[] = {
    fw::OnAnyCommand<&FrameWindow::OnAnyCommand>(),
    fw::OnInitMenuPopup<&FrameWindow::OnInitMenuPopup>(),
    fw::OnMessage<&FrameWindow::OnClose>(WM_CLOSE),
};

bool FrameWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<FrameWindow>(kMessageMap, message, wParam, lParam, result);
}

void FrameWindow::OnAnyCommand(UINT commandId, UINT, HWND) {
  m_app.OnCommand(commandId);
}

void FrameWindow::OnInitMenuPopup(HMENU popup, UINT, bool windowMenu) {
  if (windowMenu) return;
  const int count = GetMenuItemCount(popup);
  for (int position = 0; position < count; ++position) {
    const UINT id = GetMenuItemID(popup, position);
    if (id == 0 || id == static_cast<UINT>(-1)) continue;  // a separator or a submenu
    CheckMenuItem(popup, id, MF_BYCOMMAND | (m_app.IsCommandChecked(id) ? MF_CHECKED : MF_UNCHECKED));
  }
}

void FrameWindow::OnClose() { Destroy(); }

void FrameWindow::OnWindowGone() {
  if (m_app.MainWindow() == this) {
    m_app.SetMainWindow(nullptr);
    PostQuitMessage(0);
  }
}

}  // namespace fw
