#pragma once
// CModemInfoPage: the "Modems" tab. One subtree per installed modem, read from the modem registry
// once when the page is created.
#include "devices/InfoTreePageWin32.h"
#include "devices/ModemRegistry.h"

namespace tfm {

class CModemInfoPage final : public CInfoTreePage {
 public:
  CModemInfoPage(const CModemRegistry& modems, const fw::CColorizedTheme* theme);

 protected:
  bool FillTree() override;

 private:
  const CModemRegistry& m_modems;
};

}  // namespace tfm
