#pragma once
// The tray every test observes: records each request as one line ("icon 147", "tip <text>", "shown",
// "balloon <title>: <text>"), safe to share between worker threads as the product's tray is.
#include <algorithm>
#include <chrono>
#include <condition_variable>
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
  bool ShowBalloon(const char* title, const char* text) override {
    return Record(std::string("balloon ") + title + ": " + text);
  }

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
  // Waits until the call has been recorded; false if it has not within the time.
  bool WaitForCall(const std::string& call, std::chrono::milliseconds timeout) {
    std::unique_lock guard(m_lock);
    return m_recorded.wait_for(guard, timeout,
                               [&] { return std::find(m_calls.begin(), m_calls.end(), call) != m_calls.end(); });
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
    m_recorded.notify_all();
    return true;
  }
  mutable std::mutex m_lock;
  std::condition_variable m_recorded;
  std::vector<std::string> m_calls;
};

}  // namespace tfm::test
