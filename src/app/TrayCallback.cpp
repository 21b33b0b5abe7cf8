#include "app/TrayCallback.h"

#include <utility>

namespace tfm {

TrayEvent DecodeTrayCallback(bool version4, uint64_t wParam, uint64_t lParam) {
  TrayEvent decoded;
  decoded.event = static_cast<uint32_t>(lParam & 0xFFFF);
  if (!version4) {
    decoded.iconId = static_cast<uint32_t>(wParam);
    return decoded;
  }
  decoded.iconId = static_cast<uint32_t>((lParam >> 16) & 0xFFFF);
  decoded.anchored = true;
  decoded.x = static_cast<int16_t>(wParam & 0xFFFF);  // signed: monitors left of or above the primary
  decoded.y = static_cast<int16_t>((wParam >> 16) & 0xFFFF);
  return decoded;
}

TrayAction TrayGestures::OnEvent(bool version4, uint32_t event) {
  if (event == kTrayMouseMove) return TrayAction::None;
  const bool afterClick = std::exchange(m_afterClick, event == kTrayLeftButtonUp);
  switch (event) {
    case kTrayRightButtonUp: return version4 ? TrayAction::None : TrayAction::ShowMenu;
    case kTrayContextMenu: return version4 ? TrayAction::ShowMenu : TrayAction::None;
    case kTrayLeftDoubleClick:
    case kTrayKeySelect: return TrayAction::RunDefault;
    case kTraySelect: return afterClick ? TrayAction::None : TrayAction::RunDefault;
    case kTrayBalloonClick: return TrayAction::ShowNotifiedCall;
    default: return TrayAction::None;
  }
}

}  // namespace tfm
