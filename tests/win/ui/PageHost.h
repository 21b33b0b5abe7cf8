#pragma once
// A visible top-level window that holds a page or a list under test, with the common controls
// registered. WM_DRAWITEM requests from a list child are handed to the report list set with
// DrawListRows, as the call monitor page does for its own list.
#include <windows.h>

#include "os/DeviceContext.h"

namespace tfm {
class CReportListCtrl;
}

namespace tfm::test {

class PageHost {
 public:
  PageHost();
  ~PageHost();
  PageHost(const PageHost&) = delete;
  PageHost& operator=(const PageHost&) = delete;

  HWND hwnd() const { return m_hwnd; }
  void DrawListRows(CReportListCtrl* list);

 private:
  HWND m_hwnd = nullptr;
};

// The client area of a window as drawn by the window itself into a bitmap (WM_PRINTCLIENT), so that
// pixels can be read without depending on the screen.
class ClientPicture {
 public:
  explicit ClientPicture(HWND window);
  COLORREF Pixel(int x, int y) const { return GetPixel(m_picture.dc(), x, y); }

 private:
  os::OffscreenLayer m_picture;
};

}  // namespace tfm::test
