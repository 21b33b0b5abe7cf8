#include <windows.h>

#include "app/MonitorAppWin32.h"
#include "os/Process.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  os::HardenDllSearch();  // before the application loads any library
  tfm::CMonitorApp app;
  return app.Main();
}
