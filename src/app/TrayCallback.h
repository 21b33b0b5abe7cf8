#pragma once
// What the shell's callback message for the icon says, and what the icon does about it. The icon asks
// for NOTIFYICON_VERSION_4 (Vista on): the event and the icon id then come in lParam and the icon's
// anchor, in screen coordinates, in wParam; the keyboard has events of its own, and a right click is
// followed by WM_CONTEXTMENU. A shell that refuses the version sends the icon id in wParam and the
// mouse message in lParam.
#include <cstdint>

namespace tfm {

// Callback events, the platform's values.
inline constexpr uint32_t kTrayContextMenu = 0x007B;      // WM_CONTEXTMENU
inline constexpr uint32_t kTrayMouseMove = 0x0200;        // WM_MOUSEMOVE
inline constexpr uint32_t kTrayLeftButtonUp = 0x0202;     // WM_LBUTTONUP
inline constexpr uint32_t kTrayLeftDoubleClick = 0x0203;  // WM_LBUTTONDBLCLK
inline constexpr uint32_t kTrayRightButtonUp = 0x0205;    // WM_RBUTTONUP
inline constexpr uint32_t kTraySelect = 0x0400;           // NIN_SELECT
inline constexpr uint32_t kTrayKeySelect = 0x0401;        // NIN_KEYSELECT
inline constexpr uint32_t kTrayBalloonClick = 0x0405;     // NIN_BALLOONUSERCLICK

struct TrayEvent {
  uint32_t iconId = 0;
  uint32_t event = 0;
  bool anchored = false;  // x and y hold the icon's anchor
  int32_t x = 0;
  int32_t y = 0;
};

// Unpacks the callback's parameters as the shell sends them for the version the icon has.
TrayEvent DecodeTrayCallback(bool version4, uint64_t wParam, uint64_t lParam);

enum class TrayAction { None, ShowMenu, RunDefault, ShowNotifiedCall };

// What each event does. The mouse keeps its gestures: a right click shows the menu, a double-click
// runs the default command, a single click does nothing (version 4 follows its button-up with
// NIN_SELECT, which is therefore passed over). NIN_SELECT without a click before it (Enter on the
// icon) and NIN_KEYSELECT (Space or Enter) run the default command; a click on a balloon shows its call.
class TrayGestures {
 public:
  TrayAction OnEvent(bool version4, uint32_t event);

 private:
  bool m_afterClick = false;
};

}  // namespace tfm
