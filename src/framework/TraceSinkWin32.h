#pragma once

namespace fw {

// Routes tfm::Trace to the debugger output (OutputDebugStringW), where debuggers, DebugView-style
// tools and Wine's warn+debugstr channel show it.
void InstallDebugOutputTraceSink();

}  // namespace fw
