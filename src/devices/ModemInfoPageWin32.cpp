#include "devices/ModemInfoPageWin32.h"

#include "devices/ModemNodes.h"

namespace tfm {

CModemInfoPage::CModemInfoPage(const CModemRegistry& modems)
    : CInfoTreePage(kTemplateId, kGroupId, "modem"), m_modems(modems) {}

bool CModemInfoPage::FillTree() {
  RenderNodes(BuildModemNodes(CollectModems(m_modems)));
  return true;
}

}  // namespace tfm
