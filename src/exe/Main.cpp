#include <windows.h>

#include "app/MonitorAppWin32.h"
#include "os/Process.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  os::HardenDllSearch();  // before the application loads any library
  tfm::CMonitorApp app;
  return app.Main();
}
