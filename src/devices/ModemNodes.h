#pragma once
// The content of the "Modems" tab: one node per counted modem with its seven detail lines. The
// details are collected from the modem registry by model name; building the nodes is pure.
#include <cstdint>
#include <string>
#include <vector>

#include "devices/TreeNode.h"

namespace tfm {

class CModemRegistry;

struct ModemDetails {
  std::string model;
  int32_t port = 0;
  int32_t speed = 0;
  std::string initString;
  std::string resetString;
  bool hasSpeaker = false;
  int32_t volumeLevels = 0;
};

// Walks the instances in order, takes those the counting rule counts and asks for each one's details
// by its model name.
std::vector<ModemDetails> CollectModems(const CModemRegistry& modems);

// "Modem %d" nodes numbered from 1 in the order given.
TreeNodeList BuildModemNodes(const std::vector<ModemDetails>& modems);

}  // namespace tfm
