#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "ChartTestWindow.h"
#include "PageHost.h"
#include "os/DeviceContext.h"
#include "ui/ReportListCtrlWin32.h"

namespace tfm::test {
namespace {

constexpr int kColumnWidth = 60;

// A report list of two narrow columns and three rows in a 400 x 200 child of the host, drawn by a
// CReportListCtrl, next to a button that can take the focus away from it.
class ReportListTest : public ::testing::Test {
 protected:
  void Create(DWORD extraStyle) {
    m_list = CreateWindowExA(0, WC_LISTVIEWA, "", WS_CHILD | WS_VISIBLE | LVS_REPORT | extraStyle, 10, 10, 400, 200,
                             m_host.hwnd(), reinterpret_cast<HMENU>(1), GetModuleHandleA(nullptr), nullptr);
    m_other = CreateWindowExA(0, "BUTTON", "other", WS_CHILD | WS_VISIBLE, 420, 10, 80, 24, m_host.hwnd(), nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(m_control.Attach(m_list));
    m_host.DrawListRows(&m_control);
    ASSERT_EQ(0, m_control.InsertColumn("First", 0, kColumnWidth, LVCFMT_LEFT, -1,
                                        LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM));
    ASSERT_EQ(1, m_control.InsertColumn("Second", 1, kColumnWidth, LVCFMT_RIGHT, -1,
                                        LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM));
    for (int row = 0; row < 3; ++row) {
      ASSERT_EQ(row, m_control.SetItem(row, 0, "a", -1));
      ASSERT_NE(0, m_control.SetItem(row, 1, "b", -1));
    }
  }

  void Select(int row) {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(m_list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }

  RECT Rect(int row, int part) const {
    RECT rect{};
    rect.left = part;
    SendMessageA(m_list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return rect;
  }

  int RightEdge() const {
    RECT client{};
    GetClientRect(m_list, &client);
    return client.right;
  }

  PageHost m_host;
  CReportListCtrl m_control;
  HWND m_list = nullptr;
  HWND m_other = nullptr;
};

// Where the selection colour reaches on a selected row of a focused list whose columns end at x=120:
// the label, the second column, and the strip between the columns and the client area's edge.
TEST_F(ReportListTest, SelectedRowIsFilledAsFarAsTheModeSays) {
  Create(0);
  EXPECT_EQ(0, m_control.SetHighlightMode(3)) << "above two is refused";
  EXPECT_EQ(0, m_control.GetHighlightMode());
  const COLORREF selection = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF window = GetSysColor(COLOR_WINDOW);
  struct Case {
    int32_t mode;
    COLORREF secondColumn, beyondColumns;
  };
  // Mode 0 is drawn owner-drawn here too, as it stays after mode 1 was set.
  for (const Case c : {Case{1, selection, window}, Case{2, selection, selection}, Case{0, window, window}}) {
    SCOPED_TRACE(c.mode);
    m_control.SetHighlightMode(c.mode);
    Select(1);
    SetFocus(m_list);
    PumpUntilIdle();
    ASSERT_EQ(m_list, GetFocus());
    const RECT label = Rect(1, LVIR_LABEL);
    const int y = label.bottom - 2;  // below the text
    const ClientPicture picture(m_list);
    EXPECT_EQ(selection, picture.Pixel(label.left + 1, y));
    EXPECT_EQ(c.secondColumn, picture.Pixel(2 * kColumnWidth - 2, y));
    EXPECT_EQ(c.beyondColumns, picture.Pixel(2 * kColumnWidth + 20, y));
    EXPECT_EQ(c.beyondColumns, picture.Pixel(RightEdge() - 1, y));
    EXPECT_EQ(window, picture.Pixel(RightEdge() - 1, Rect(0, LVIR_BOUNDS).bottom - 2)) << "row 0 is not selected";
  }
}

// A selected row keeps its colour without the focus only when the list keeps its selection visible.
TEST_F(ReportListTest, SelectionColourFollowsTheFocus) {
  for (const DWORD style : {DWORD{0}, DWORD{LVS_SHOWSELALWAYS}}) {
    SCOPED_TRACE(style);
    Create(style);
    m_control.SetHighlightMode(2);
    Select(0);
    SetFocus(m_list);
    SetFocus(m_other);
    PumpUntilIdle();
    const int y = Rect(0, LVIR_BOUNDS).bottom - 2;
    const COLORREF expected = style ? GetSysColor(COLOR_HIGHLIGHT) : GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(expected, ClientPicture(m_list).Pixel(RightEdge() - 1, y));
    // What the screen shows after the repaint made on losing the focus.
    EXPECT_EQ(expected, GetPixel(os::WindowDc(m_list).get(), RightEdge() - 1, y));
    DestroyWindow(m_list);
    DestroyWindow(m_other);
  }
}

TEST_F(ReportListTest, ClickOnTheStateIconTogglesBetweenOneAndTwo) {
  Create(0);
  m_control.SetHighlightMode(2);
  const HIMAGELIST states = ImageList_Create(16, 16, ILC_COLOR24, 2, 0);
  SendMessageA(m_list, LVM_SETIMAGELIST, LVSIL_STATE, reinterpret_cast<LPARAM>(states));
  const auto stateImage = [this] {
    return (SendMessageA(m_list, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12;
  };
  const RECT bounds = Rect(0, LVIR_BOUNDS);
  const LPARAM onIcon = MAKELPARAM(bounds.left + 4, (bounds.top + bounds.bottom) / 2);
  const auto click = [&] {
    PostMessageA(m_list, WM_LBUTTONUP, 0, onIcon);
    SendMessageA(m_list, WM_LBUTTONDOWN, MK_LBUTTON, onIcon);
    PumpUntilIdle();
  };
  EXPECT_EQ(0u, stateImage());
  click();
  EXPECT_EQ(1u, stateImage()) << "no state image counts as not 1";
  click();
  EXPECT_EQ(2u, stateImage());
  click();
  EXPECT_EQ(1u, stateImage());
}

}  // namespace
}  // namespace tfm::test
