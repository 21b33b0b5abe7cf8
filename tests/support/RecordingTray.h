#pragma once
// The tray every test observes: records each request as one line ("icon 147", "tip <text>", "shown"),
// safe to share between worker threads as the product's tray is.
#include <mutex>
#include <string>
#include <vector>

#include "common/TrayPort.h"

namespace tfm::test {

class RecordingTray final : public ITrayPort {
 public:
  bool ChangeIcon(unsigned iconId) override { return Record("icon " + std::to_string(iconId)); }
  bool ChangeTip(const char* text) override { return Record(std::string("tip ") + text); }
  void MarkEnabledAndShown() override { Record("shown"); }

  std::vector<std::string> Calls() const {
    std::lock_guard guard(m_lock);
    return m_calls;
  }
  // The texts of the tooltip requests, in order.
  std::vector<std::string> Tips() const {
    std::vector<std::string> tips;
    for (const std::string& call : Calls()) {
      if (call.rfind("tip ", 0) == 0) tips.push_back(call.substr(4));
    }
    return tips;
  }
  void Clear() {
    std::lock_guard guard(m_lock);
    m_calls.clear();
  }
  // Held while a request is recorded; a test that ends a worker abruptly takes it first.
  std::mutex& Lock() { return m_lock; }

 private:
  bool Record(std::string call) {
    std::lock_guard guard(m_lock);
    m_calls.push_back(std::move(call));
    return true;
  }
  mutable std::mutex m_lock;
  std::vector<std::string> m_calls;
};

}  // namespace tfm::test
