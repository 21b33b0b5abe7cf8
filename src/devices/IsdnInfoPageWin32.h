#pragma once
// CIsdnInfoPage: the "ISDN Devices" tab. What the COMMON-ISDN-API driver reports about itself and
// its controllers, gathered and built once when the page is created.
#include <atomic>
#include <cstdint>

#include "capi/CapiEntryPoints.h"
#include "common/UserNotice.h"
#include "devices/InfoTreePageWin32.h"
#include "devices/IsdnInfoNodes.h"

namespace tfm {

class CIsdnInfoPage final : public CInfoTreePage {
 public:
  // capiAvailable is read when the page is created; getProfile is the ISDN monitor's GetCAPIProfile;
  // notice tells the user when the driver has gone.
  CIsdnInfoPage(const std::atomic<int32_t>& capiAvailable, const CapiEntryPoints& capi, ProfileQuery getProfile,
                IUserNotice& notice, const fw::CColorizedTheme* theme);

 protected:
  bool FillTree() override;

 private:
  const std::atomic<int32_t>& m_capiAvailable;
  const CapiEntryPoints& m_capi;
  ProfileQuery m_getProfile;
  IUserNotice& m_notice;
  HICON m_icon;
};

}  // namespace tfm
