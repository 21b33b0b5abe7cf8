#include "framework/TraceSinkWin32.h"

#include <windows.h>

#include <cstdio>

#include "common/Trace.h"

namespace fw {

static void DebugOutputSink(const char* line) {
  char text[600];
  std::snprintf(text, sizeof text, "%s\n", line);
  OutputDebugStringA(text);
}

void InstallDebugOutputTraceSink() { tfm::SetTraceSink(&DebugOutputSink); }

}  // namespace fw
