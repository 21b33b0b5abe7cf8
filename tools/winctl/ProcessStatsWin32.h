#pragma once
#include <windows.h>

// Prints "pid=N handles=N private=N" for the process that owns a window: its open kernel handles as
// the system's handle list counts them (Wine answers GetProcessHandleCount with 0) and its private
// bytes. Returns 0, or 1 when the process cannot be queried.
int PrintProcessStats(HWND window);
