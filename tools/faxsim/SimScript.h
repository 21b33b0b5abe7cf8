#pragma once
// The simulator's script: one step a line.
//   post <text>   write <text> into the block, signal, wait for the monitor's answer ("post" alone: empty text)
//   pause <ms>    wait before the next step
//   repeat        when the last step is done, start again from the first (service mode only)
//   # ...         comment; blank lines are skipped too
#include <istream>
#include <string>
#include <vector>

namespace faxsim {

struct Step {
  enum class Kind { Post, Pause } kind;
  std::string text;
  unsigned milliseconds = 0;
};

struct Script {
  std::vector<Step> steps;
  std::vector<std::string> rejectedLines;
  bool repeat = false;
};

Script ParseScript(std::istream& in);

}  // namespace faxsim
