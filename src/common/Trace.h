#pragma once
// Diagnostic trace: every text the monitor composes but shows nowhere goes here. The product sends it
// to the debugger output (OutputDebugStringW); native tests install a capturing sink. Texts that come
// from outside (numbers, server texts) are always passed as %s arguments, never as the format.

namespace tfm {

using TraceSink = void (*)(const char* line);

// Replaces the sink; returns the previous one. nullptr discards trace lines.
TraceSink SetTraceSink(TraceSink sink);

void Trace(const char* line);

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
void TraceF(const char* format, ...);

}  // namespace tfm
