#include "framework/TraceSinkWin32.h"

#include <windows.h>

#include <string>

#include "common/Trace.h"
#include "os/Text.h"

namespace fw {

static void DebugOutputSink(const char* line) { OutputDebugStringW(os::Wide(std::string(line) + "\n").c_str()); }

void InstallDebugOutputTraceSink() { tfm::SetTraceSink(&DebugOutputSink); }

}  // namespace fw
