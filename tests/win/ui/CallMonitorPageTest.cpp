#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "ChartTestWindow.h"
#include "PageHost.h"
#include "calllog/CallLogFileWin32.h"
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

  std::vector<Row> OpenPageRows() {
    CCallMonitorDlg page;
    EXPECT_TRUE(page.CreateChild(m_host.hwnd()));
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

}  // namespace
}  // namespace tfm::test
