#pragma once
// A tray and a call log that accept everything and keep nothing, for runs that measure or fuzz the
// dispatcher rather than observe it.
#include <string>

#include "calllog/CallLogPort.h"
#include "common/TrayPort.h"

namespace tfm::test {

class NullTray final : public ITrayPort {
 public:
  bool ChangeIcon(unsigned) override { return true; }
  bool ChangeTip(const char*) override { return true; }
  void MarkEnabledAndShown() override {}
  bool ShowBalloon(const char*, const char*) override { return true; }
};

class NullCallLog final : public ICallLog {
 public:
  void WriteCallLog(const char*, const std::string&, const std::string&) override {}
  void FlushPending() override {}
};

}  // namespace tfm::test
