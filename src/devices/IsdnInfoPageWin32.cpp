#include "devices/IsdnInfoPageWin32.h"

#include "res/resource.h"

namespace tfm {

CIsdnInfoPage::CIsdnInfoPage(const std::atomic<int32_t>& capiAvailable, const CapiEntryPoints& capi,
                             ProfileQuery getProfile, IUserNotice& notice, const fw::CColorizedTheme* theme)
    : CInfoTreePage(IDD_ISDN_INFO_PAGE, IDC_ISDN_GROUP, "isdn", "No COMMON-ISDN-API driver is installed.", theme),
      m_capiAvailable(capiAvailable),
      m_capi(capi),
      m_getProfile(std::move(getProfile)),
      m_notice(notice),
      m_icon(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

bool CIsdnInfoPage::FillTree() {
  SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
  SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
  const IsdnInfoTree tree = BuildIsdnInfoNodes(GatherIsdnInfo(m_capiAvailable != 0, m_capi, m_getProfile));
  if (tree.driverGone) {
    // The driver was there at start-up and has gone since: the only failure this page shows.
    m_notice.Tell(kNoCapiInstalledText);
    return false;
  }
  RenderNodes(tree.nodes);
  return true;
}

}  // namespace tfm
