#include "framework/Application.h"

#include "framework/Window.h"

namespace fw {
namespace {
Application* g_current = nullptr;
}

Application::Application(const char* title) : m_title(title) { g_current = this; }

Application::~Application() {
  if (g_current == this) g_current = nullptr;
}

Application* Application::Current() { return g_current; }

int Application::ExitInstance() { return m_loopExitCode; }

int Application::ShowMessageBox(const char* text, UINT type) const {
  return MessageBoxA(nullptr, text, m_title, type | MB_SETFOREGROUND);
}

int Application::RunMessageLoop() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  m_loopExitCode = static_cast<int>(msg.wParam);
  return m_loopExitCode;
}

int Application::Main() {
  if (!InitInstance()) {
    if (m_mainWindow) m_mainWindow->Destroy();
    return ExitInstance();
  }
  RunMessageLoop();
  return ExitInstance();
}

}  // namespace fw
