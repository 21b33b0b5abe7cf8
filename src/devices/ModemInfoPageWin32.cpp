#include "devices/ModemInfoPageWin32.h"

#include "devices/ModemNodes.h"
#include "res/resource.h"

namespace tfm {

CModemInfoPage::CModemInfoPage(const CModemRegistry& modems, const fw::CColorizedTheme* theme)
    : CInfoTreePage(IDD_MODEM_INFO_PAGE, IDC_MODEM_GROUP, "modem", "No modems are installed.", theme),
      m_modems(modems) {}

bool CModemInfoPage::FillTree() {
  RenderNodes(BuildModemNodes(CollectModems(m_modems)));
  return true;
}

}  // namespace tfm
