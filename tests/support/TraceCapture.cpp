#include "TraceCapture.h"

#include <algorithm>
#include <mutex>

namespace tfm::test {
namespace {

// The sink is a plain function, so the lines live here; workers may trace from their own threads.
std::mutex g_lock;
std::vector<std::string> g_lines;

void CaptureLine(const char* line) {
  std::lock_guard guard(g_lock);
  g_lines.emplace_back(line);
}

}  // namespace

TraceCapture::TraceCapture() {
  Clear();
  m_previous = SetTraceSink(&CaptureLine);
}

TraceCapture::~TraceCapture() { SetTraceSink(m_previous); }

std::vector<std::string> TraceCapture::Lines() const {
  std::lock_guard guard(g_lock);
  return g_lines;
}

bool TraceCapture::Contains(const std::string& line) const {
  const std::vector<std::string> lines = Lines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

int TraceCapture::CountStartingWith(const std::string& prefix) const {
  const std::vector<std::string> lines = Lines();
  return static_cast<int>(
      std::count_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

void TraceCapture::Clear() {
  std::lock_guard guard(g_lock);
  g_lines.clear();
}

}  // namespace tfm::test
