#include "framework/Application.h"

#include "framework/Window.h"

namespace fw {

int Application::ExitInstance() { return m_loopExitCode; }

int Application::RunMessageLoop() {
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  m_loopExitCode = static_cast<int>(msg.wParam);
  return m_loopExitCode;
}

int Application::Main() {
  if (!InitInstance()) {
    if (m_mainWindow) m_mainWindow->Destroy();
    return ExitInstance();
  }
  OnMessageLoopStart();
  RunMessageLoop();
  return ExitInstance();
}

}  // namespace fw
