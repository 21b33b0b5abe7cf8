#include <windows.h>

#include "app/MonitorAppWin32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tfm::CMonitorApp app;
  return app.Main();
}
