#include "common/TrayLink.h"

namespace tfm {

void TrayLink::Attach(ITrayPort* tray) {
  std::lock_guard guard(m_lock);
  m_tray = tray;
}

void TrayLink::Detach() { Attach(nullptr); }

bool TrayLink::ChangeIcon(unsigned iconId) {
  std::lock_guard guard(m_lock);
  return m_tray && m_tray->ChangeIcon(iconId);
}

bool TrayLink::ChangeTip(const char* text) {
  std::lock_guard guard(m_lock);
  return m_tray && m_tray->ChangeTip(text);
}

void TrayLink::MarkEnabledAndShown() {
  std::lock_guard guard(m_lock);
  if (m_tray) m_tray->MarkEnabledAndShown();
}

bool TrayLink::ShowBalloon(const char* title, const char* text) {
  std::lock_guard guard(m_lock);
  return m_tray && m_tray->ShowBalloon(title, text);
}

}  // namespace tfm
