#pragma once
// The scripted provider's scenario: what the provider reports and which wire messages it delivers when.
//
//   # comment
//   installed 0                 CAPI_INSTALLED result (0 = installed)
//   register 0 1                CAPI_REGISTER result and the application id it writes
//   version 2 0 1 5             CAPI major, minor, manufacturer major, minor
//   controllers 2               number of controllers, each with a default profile
//   profile 1 <64 bytes hex>    a controller's profile
//   connect_ind plci=0x101 called=4711 calling=815 after=500ms
//   raw 0e00010004820100010100009034 after=1s
//   loop                        start over after the last message
//
// A message is due `after` its predecessor was delivered; the first one `after` the first LISTEN_REQ
// the provider is given. Messages other than raw get the application id and a running message number.
// In the values of called= and calling=, \xNN stands for any byte (a blank, a control byte) and \\ for
// a backslash.
#include <array>
#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "WireEncoder.h"

namespace scripted {

using Profile = std::array<uint8_t, 64>;

struct ScriptedMessage {
  uint32_t afterMs = 0;
  Bytes message;
  bool raw = false;
};

struct Scenario {
  uint32_t installed = 0;
  uint32_t registerResult = 0;
  uint32_t applId = 1;
  uint32_t version[4] = {2, 0, 1, 0};
  std::vector<Profile> profiles;  // controller n at index n - 1
  std::vector<ScriptedMessage> messages;
  bool loop = false;
};

// False with "line N: reason" in error for anything it does not understand.
bool ParseScenario(std::istream& in, Scenario& scenario, std::string& error);

}  // namespace scripted
