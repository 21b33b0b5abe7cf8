#include "ui/CallFeedWin32.h"

#include <utility>

namespace tfm {

void CallFeed::Attach(HWND window, UINT message) {
  const std::lock_guard<std::mutex> hold(m_lock);
  m_window = window;
  m_message = message;
  m_waiting.clear();
}

void CallFeed::Detach() { Attach(nullptr, 0); }

std::vector<CallLogRow> CallFeed::Take() {
  const std::lock_guard<std::mutex> hold(m_lock);
  return std::exchange(m_waiting, {});
}

void CallFeed::OnCallLogged(const CallLogRow& row) {
  const std::lock_guard<std::mutex> hold(m_lock);
  if (!m_window) return;
  m_waiting.push_back(row);
  // One message stands for every row that waits: a burst of calls is taken in one go.
  if (m_waiting.size() == 1) PostMessageW(m_window, m_message, 0, 0);
}

}  // namespace tfm
