#pragma once
// The application object of the framework: one per process, with a start-up hook, a message loop and
// an exit hook whose result becomes the process exit code.
#include <windows.h>

namespace fw {

class Window;

class Application {
 public:
  Application() = default;
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;
  virtual ~Application() = default;

  // Start-up; false ends the program without entering the message loop.
  virtual bool InitInstance() = 0;
  // Once start-up has succeeded, right before the message loop, outside any window's message: where
  // start-up's messages to the user are shown, so that nothing waits for them but the user.
  virtual void OnMessageLoopStart() {}
  // Shutdown; the default returns the exit code of the message loop.
  virtual int ExitInstance();
  // Commands that the main frame does not handle itself come here; true when handled.
  virtual bool OnCommand(UINT) { return false; }
  // Asked for each command of a menu of the frame as it opens: true shows it checked.
  virtual bool IsCommandChecked(UINT) const { return false; }

  Window* MainWindow() const { return m_mainWindow; }
  void SetMainWindow(Window* window) { m_mainWindow = window; }

  // Start-up, message loop, shutdown: what WinMain runs.
  int Main();

 private:
  int RunMessageLoop();

  Window* m_mainWindow = nullptr;
  int m_loopExitCode = 0;
};

}  // namespace fw
