#include <windows.h>

#include "app/MonitorAppWin32.h"

// The one application object.
static tfm::CMonitorApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return theApp.Main(); }
