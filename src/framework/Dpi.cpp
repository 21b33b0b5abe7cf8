#include "framework/Dpi.h"

#include "os/DeviceContext.h"

namespace fw {
namespace {

// A user32 export by name, null where this system's user32 lacks it.
template <class Fn>
Fn User32Function(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT SystemDpi() {
  const os::WindowDc screen(nullptr);
  return static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSY));
}

BOOL CALLBACK TellDpi(HWND child, LPARAM dpi) {
  SendMessageW(child, kDpiChangedAfterParent, static_cast<WPARAM>(dpi), 0);
  return TRUE;
}

}  // namespace

UINT WindowDpi(HWND hwnd) {
  static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0;
  return dpi != 0 ? dpi : SystemDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
  static const auto getMetricForDpi = User32Function<int(WINAPI*)(int, UINT)>("GetSystemMetricsForDpi");
  return getMetricForDpi ? getMetricForDpi(index, dpi) : GetSystemMetrics(index);
}

bool MessageFontAt(UINT dpi, LOGFONTW& font) {
  static const auto metricsForDpi =
      User32Function<BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT)>("SystemParametersInfoForDpi");
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (metricsForDpi && metricsForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
    font = metrics.lfMessageFont;
    return true;
  }
  // Older systems tell the metrics at the system DPI.
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
  font = metrics.lfMessageFont;
  font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  return true;
}

os::UniqueFont CreateMessageFont(UINT dpi) {
  LOGFONTW font{};
  return MessageFontAt(dpi, font) ? os::UniqueFont(CreateFontIndirectW(&font)) : os::UniqueFont();
}

void TellDescendantsDpi(HWND parent, UINT dpi) {
  EnumChildWindows(parent, TellDpi, static_cast<LPARAM>(dpi));
}

os::UniqueIcon LoadIconForDpi(UINT iconId, int widthMetric, int heightMetric, UINT dpi) {
  return os::UniqueIcon(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                                      SystemMetricForDpi(widthMetric, dpi),
                                                      SystemMetricForDpi(heightMetric, dpi), LR_DEFAULTCOLOR)));
}

HICON LoadSharedSmallIcon(UINT iconId) {
  return static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

}  // namespace fw
