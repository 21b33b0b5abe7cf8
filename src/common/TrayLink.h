#pragma once
#include <mutex>

#include "common/TrayPort.h"

namespace tfm {

// The workers' way to the tray icon. The frame (and with it the tray) is destroyed before the
// workers are stopped, so every call goes through this link: Detach waits for a call in flight and
// afterwards every call finds the tray gone and does nothing. The link outlives all workers.
class TrayLink final : public ITrayPort {
 public:
  void Attach(ITrayPort* tray);
  void Detach();

  bool ChangeIcon(unsigned iconId) override;
  bool ChangeTip(const char* text) override;
  void MarkEnabledAndShown() override;
  bool ShowBalloon(const char* title, const char* text) override;

 private:
  std::mutex m_lock;
  ITrayPort* m_tray = nullptr;
};

}  // namespace tfm
