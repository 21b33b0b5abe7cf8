#pragma once
#include <string>
#include <vector>

#include "common/TrayPort.h"

namespace tfm::test {

// Records every tray request as one line: "icon 147", "tip <text>", "shown".
class RecordingTray : public ITrayPort {
 public:
  bool ChangeIcon(unsigned iconId) override {
    calls.push_back("icon " + std::to_string(iconId));
    return true;
  }
  bool ChangeTip(const char* text) override {
    calls.push_back(std::string("tip ") + text);
    return true;
  }
  void MarkEnabledAndShown() override { calls.push_back("shown"); }
  std::vector<std::string> calls;
};

}  // namespace tfm::test
