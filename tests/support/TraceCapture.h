#pragma once
// Collects the program's trace lines while it lives and restores the previous sink afterwards.
#include <string>
#include <vector>

#include "common/Trace.h"

namespace tfm::test {

class TraceCapture {
 public:
  TraceCapture();
  ~TraceCapture();
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;

  std::vector<std::string> Lines() const;
  bool Contains(const std::string& line) const;
  int CountStartingWith(const std::string& prefix) const;
  void Clear();

 private:
  TraceSink m_previous = nullptr;
};

}  // namespace tfm::test
