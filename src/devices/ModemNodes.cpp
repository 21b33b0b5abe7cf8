#include "devices/ModemNodes.h"

#include "devices/ModemRegistry.h"

namespace tfm {

std::vector<ModemDetails> CollectModems(const CModemRegistry& modems) {
  std::vector<ModemDetails> found;
  for (int32_t i = 0; i < CModemRegistry::kMaxInstances; ++i) {
    const std::string model = modems.GetModemModel(i);
    if (!IsCountedModemModel(model)) continue;
    found.push_back({model, modems.GetModemPortByName(model), modems.GetModemSpeed(model),
                     modems.GetModemInitString(model), modems.GetModemResetString(model), modems.HasSpeaker(model),
                     modems.GetSpeakerVolumeLevels(model)});
  }
  return found;
}

TreeNodeList BuildModemNodes(const std::vector<ModemDetails>& modems) {
  TreeNodeList nodes;
  int number = 0;
  for (const ModemDetails& modem : modems) {
    TreeNode& node = nodes.emplace_back(TreeNode{FormatText("Modem %d", ++number), {}});
    node.Add(FormatText("Modem name :%s", modem.model.c_str()));
    node.Add(FormatText("Modem port : COM%d", static_cast<int>(modem.port)));
    node.Add(FormatText("Modem speed :%d baud", static_cast<int>(modem.speed)));
    node.Add(FormatText("Modem Init string :%s", modem.initString.c_str()));
    node.Add(FormatText("Modem Reset string :%s", modem.resetString.c_str()));
    node.Add(modem.hasSpeaker ? "Modem has Speaker : Yes" : "Modem has Speaker : No");
    node.Add(FormatText("Modem Speaker volume levels :%d", static_cast<int>(modem.volumeLevels)));
  }
  return nodes;
}

}  // namespace tfm
