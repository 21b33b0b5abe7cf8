#include "common/Trace.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace tfm {
namespace {
std::atomic<TraceSink> g_sink{nullptr};
}

TraceSink SetTraceSink(TraceSink sink) { return g_sink.exchange(sink); }

void Trace(const char* line) {
  if (TraceSink sink = g_sink.load()) sink(line);
}

void TraceF(const char* format, ...) {
  TraceSink sink = g_sink.load();
  if (!sink) return;
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  sink(line);
}

}  // namespace tfm
