#include "SimScript.h"

#include <cstdlib>

namespace faxsim {

Script ParseScript(std::istream& in) {
  Script script;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    if (line == "repeat") {
      script.repeat = true;
    } else if (line == "post") {
      script.steps.push_back({Step::Kind::Post, "", 0});
    } else if (line.rfind("post ", 0) == 0) {
      script.steps.push_back({Step::Kind::Post, line.substr(5), 0});
    } else if (line.rfind("pause ", 0) == 0) {
      char* end = nullptr;
      const unsigned long ms = std::strtoul(line.c_str() + 6, &end, 10);
      if (end && *end == 0 && ms <= 600000) {
        script.steps.push_back({Step::Kind::Pause, "", static_cast<unsigned>(ms)});
      } else {
        script.rejectedLines.push_back(line);
      }
    } else {
      script.rejectedLines.push_back(line);
    }
  }
  return script;
}

}  // namespace faxsim
