#include "WindowPump.h"

namespace tfm::test {

void PumpUntilIdle() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

RECT RectIn(HWND window, HWND relativeTo) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  while (!done() && GetTickCount64() < deadline) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpUntilIdle();
  }
  return done();
}

}  // namespace tfm::test
