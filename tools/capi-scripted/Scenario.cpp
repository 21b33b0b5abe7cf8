#include "Scenario.h"

#include <cstdlib>
#include <sstream>

namespace scripted {
namespace {

// Two B channels; B1 64 kbit/s HDLC and transparent, B2 X.75 and transparent, B3 transparent.
Profile DefaultProfile() {
  Profile p{};
  p[2] = 2;
  p[8] = 0x03;
  p[12] = 0x03;
  p[16] = 0x01;
  return p;
}

bool ParseNumber(const std::string& text, uint32_t& value) {
  char* end = nullptr;
  value = static_cast<uint32_t>(std::strtoul(text.c_str(), &end, 0));
  return !text.empty() && *end == '\0';
}

// "500ms", "2s" or a plain number of milliseconds.
bool ParseDelay(std::string text, uint32_t& ms) {
  uint32_t scale = 1;
  if (text.size() > 2 && text.compare(text.size() - 2, 2, "ms") == 0) {
    text.resize(text.size() - 2);
  } else if (text.size() > 1 && text.back() == 's') {
    text.pop_back();
    scale = 1000;
  }
  if (!ParseNumber(text, ms)) return false;
  ms *= scale;
  return true;
}

bool ParseLine(std::istringstream& words, const std::string& keyword, Scenario& s, std::string& error) {
  if (keyword == "installed") {
    std::string v;
    words >> v;
    return ParseNumber(v, s.installed) || (error = "installed needs a number", false);
  }
  if (keyword == "register") {
    std::string result, id;
    words >> result >> id;
    return (ParseNumber(result, s.registerResult) && ParseNumber(id, s.applId)) ||
           (error = "register needs result and id", false);
  }
  if (keyword == "version") {
    for (uint32_t& v : s.version) {
      std::string w;
      words >> w;
      if (!ParseNumber(w, v)) return error = "version needs four numbers", false;
    }
    return true;
  }
  if (keyword == "controllers") {
    std::string w;
    uint32_t count;
    words >> w;
    if (!ParseNumber(w, count) || count > 127) return error = "controllers needs 0..127", false;
    s.profiles.assign(count, DefaultProfile());
    return true;
  }
  if (keyword == "profile") {
    std::string w, rest, part;
    uint32_t controller;
    words >> w;
    while (words >> part) rest += part;
    Bytes bytes;
    if (!ParseNumber(w, controller) || controller < 1 || controller > s.profiles.size() || !ParseHex(rest, bytes) ||
        bytes.size() != 64) {
      return error = "profile needs a declared controller and 64 hex bytes", false;
    }
    std::copy(bytes.begin(), bytes.end(), s.profiles[controller - 1].begin());
    return true;
  }
  if (keyword == "loop") {
    s.loop = true;
    return true;
  }
  ScriptedMessage m;
  Fields fields;
  std::string word, rawHex;
  while (words >> word) {
    const size_t eq = word.find('=');
    if (eq == std::string::npos) {
      rawHex += word;
      continue;
    }
    const std::string key = word.substr(0, eq), value = word.substr(eq + 1);
    if (key == "after") {
      if (!ParseDelay(value, m.afterMs)) return error = "bad delay " + value, false;
    } else {
      fields[key] = value;
    }
  }
  if (keyword == "raw") {
    m.raw = true;
    if (!ParseHex(rawHex, m.message) || m.message.empty()) return error = "raw needs hex bytes", false;
  } else if (!EncodeMessage(keyword, fields, m.message, error)) {
    return false;
  }
  s.messages.push_back(std::move(m));
  return true;
}

}  // namespace

bool ParseScenario(std::istream& in, Scenario& scenario, std::string& error) {
  scenario = Scenario{};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    // A comment starts with '#' at the line's start or after a blank, so numbers may hold '#'.
    const size_t hash = line.rfind('#', 0) == 0 ? 0 : line.find(" #");
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string keyword;
    if (!(words >> keyword)) continue;
    if (!ParseLine(words, keyword, scenario, error)) {
      error = "line " + std::to_string(number) + ": " + error;
      return false;
    }
  }
  return true;
}

}  // namespace scripted
