#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "ChartTestWindow.h"
#include "PageHost.h"
#include "calllog/CallLogFileWin32.h"
#include "res/resource.h"
#include "ui/CallMonitorPageWin32.h"

namespace tfm::test {
namespace {

using Row = std::array<std::string, 5>;

// The page reads the call log beside the running executable: the test writes it there.
class CallMonitorPageTest : public ::testing::Test {
 protected:
  CallMonitorPageTest() : m_log(CallLogFilePath()) { DeleteFileA(m_log.c_str()); }
  ~CallMonitorPageTest() override { DeleteFileA(m_log.c_str()); }

  void WriteLog(const std::string& bytes) const {
    std::FILE* file = std::fopen(m_log.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
  }

  static std::vector<Row> Rows(const CCallMonitorDlg& page) {
    const HWND list = page.list().Hwnd();
    std::vector<Row> rows(static_cast<size_t>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)));
    for (size_t row = 0; row < rows.size(); ++row) {
      for (int cell = 0; cell < 5; ++cell) {
        char text[300] = "";
        LVITEMA item{};
        item.iSubItem = cell;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
        rows[row][static_cast<size_t>(cell)] = text;
      }
    }
    return rows;
  }

  std::vector<Row> OpenPageRows() {
    CCallMonitorDlg page;
    EXPECT_TRUE(page.CreateChild(m_host.hwnd()));
    std::vector<Row> rows = Rows(page);
    DestroyWindow(page.Hwnd());
    return rows;
  }

  PageHost m_host;
  std::string m_log;
};

// The reader's rules are unit-tested; here the page puts each field in its column, in file order.
TEST_F(CallMonitorPageTest, ListsEveryCompleteCallLineInFileOrder) {
  WriteLog("IN 4711 815 2005-03-01 14:05:09\r\n"
           "IN 4712  2005-03-02 08:00:00\r\n"          // no calling number
           "not a call record\r\n"                     // too few fields
           "IN 4714 817 2005-03-05 10:11:12");         // no line feed yet: still being written
  const std::vector<Row> expected{
      {"IN", "815", "4711", "2005-03-01", "14:05:09"},
      {"IN", "", "4712", "2005-03-02", "08:00:00"},
  };
  EXPECT_EQ(expected, OpenPageRows());
}

bool InView(HWND list, int row) {
  const auto top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  return row >= top && row < top + static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
}

std::string ClipboardText() {
  if (!OpenClipboard(nullptr)) return "(clipboard not opened)";
  const HANDLE data = GetClipboardData(CF_TEXT);
  const auto* text = static_cast<const char*>(data ? GlobalLock(data) : nullptr);
  std::string copied = text ? text : "(no text)";
  if (text) GlobalUnlock(data);
  CloseClipboard();
  return copied;
}

void ClickHeader(HWND page, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = GetDlgItem(page, IDC_CALL_LIST);
  click.hdr.idFrom = IDC_CALL_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iSubItem = column;
  SendMessageA(page, WM_NOTIFY, IDC_CALL_LIST, reinterpret_cast<LPARAM>(&click));
}

int SortArrow(HWND list, int column) {
  HDITEMA item{};
  item.mask = HDI_FORMAT;
  SendMessageA(reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0)), HDM_GETITEMA, column,
               reinterpret_cast<LPARAM>(&item));
  return item.fmt & (HDF_SORTUP | HDF_SORTDOWN);
}

// A log longer than the list's height: the page opens on the newest call and follows the calls logged
// while it is open, heard on another thread; scrolled away, it stays where it is.
TEST_F(CallMonitorPageTest, OpensOnTheNewestCallAndListsLoggedCallsLive) {
  std::string log;
  for (int i = 0; i < 200; ++i) log += "IN 4711 " + std::to_string(1000 + i) + " 2005-03-01 14:05:09\r\n";
  WriteLog(log);
  CallFeed feed;
  CCallMonitorDlg page(&feed);
  ASSERT_TRUE(page.CreateChild(m_host.hwnd()));
  const HWND list = page.list().Hwnd();
  EXPECT_TRUE(InView(list, 199));
  EXPECT_FALSE(InView(list, 0));

  std::thread([&feed] { feed.OnCallLogged({"IN", "4711", "555", "2005-03-01", "14:06:00"}); }).join();
  PumpUntilIdle();
  ASSERT_EQ(201, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ((Row{"IN", "555", "4711", "2005-03-01", "14:06:00"}), Rows(page)[200]);
  EXPECT_TRUE(InView(list, 200)) << "the list follows the calls while the newest is in view";

  SendMessageA(list, LVM_ENSUREVISIBLE, 0, FALSE);
  feed.OnCallLogged({"IN", "4711", "556", "2005-03-01", "14:07:00"});
  PumpUntilIdle();
  EXPECT_EQ(202, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ(0, SendMessageA(list, LVM_GETTOPINDEX, 0, 0)) << "scrolled to the top, the list stays there";
  DestroyWindow(page.Hwnd());
  feed.OnCallLogged({"IN", "4711", "557", "2005-03-01", "14:08:00"});
  EXPECT_TRUE(feed.Take().empty()) << "a closed page takes nothing more";
}

// A header click sorts by its column, a second one the other way, with the arrow to match; date and
// time sort as one moment. The selected rows go to the clipboard as tab-separated lines.
TEST_F(CallMonitorPageTest, HeaderSortsAndSelectedRowsAreCopied) {
  WriteLog("IN 4711 815 2005-03-02 08:00:00\r\n"
           "IN 4712 0301 2005-03-01 23:59:59\r\n"
           "IN 4711 4711 2005-03-02 07:00:00\r\n");
  CCallMonitorDlg page;
  ASSERT_TRUE(page.CreateChild(m_host.hwnd()));
  const HWND list = page.list().Hwnd();
  const auto callers = [&] {
    std::string shown;
    for (const Row& row : Rows(page)) shown += row[1] + "|";
    return shown;
  };
  ClickHeader(page.Hwnd(), 4);
  EXPECT_EQ("0301|4711|815|", callers());
  EXPECT_EQ(HDF_SORTUP, SortArrow(list, 4));
  ClickHeader(page.Hwnd(), 4);
  EXPECT_EQ("815|4711|0301|", callers());
  EXPECT_EQ(HDF_SORTDOWN, SortArrow(list, 4));
  ClickHeader(page.Hwnd(), 1);
  EXPECT_EQ("0301|4711|815|", callers());
  EXPECT_EQ(0, SortArrow(list, 4));
  EXPECT_EQ(HDF_SORTUP, SortArrow(list, 1));

  SendMessageA(page.Hwnd(), WM_COMMAND, IDM_CALLS_SELECT_ALL, 0);
  SetFocus(list);
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  SendMessageA(list, WM_KEYDOWN, 'C', 0);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
  EXPECT_EQ("IN\t0301\t4712\t2005-03-01\t23:59:59\r\nIN\t4711\t4711\t2005-03-02\t07:00:00\r\n"
            "IN\t815\t4711\t2005-03-02\t08:00:00\r\n",
            ClipboardText());
  DestroyWindow(page.Hwnd());
}

}  // namespace
}  // namespace tfm::test
