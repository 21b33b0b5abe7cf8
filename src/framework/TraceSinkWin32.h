#pragma once

namespace fw {

// Routes tfm::Trace to the debugger output (OutputDebugStringA), where debuggers, DebugView-style
// tools and Wine's warn+debugstr channel show it.
void InstallDebugOutputTraceSink();

}  // namespace fw
