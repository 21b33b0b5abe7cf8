#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "ChartTestWindow.h"
#include "MapPhoneBook.h"
#include "PageHost.h"
#include "calllog/CallLogFileWin32.h"
#include "os/Text.h"
#include "res/resource.h"
#include "ui/CallMonitorPageWin32.h"

namespace tfm::test {
namespace {

using Row = std::array<std::string, 6>;

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
      for (int cell = 0; cell < 6; ++cell) {
        wchar_t text[300] = L"";
        LVITEMW item{};
        item.iSubItem = cell;
        item.pszText = text;
        item.cchTextMax = static_cast<int>(std::size(text));
        SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
        rows[row][static_cast<size_t>(cell)] = os::Utf8(text);
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

// The reader's rules are unit-tested; here the page puts each field in its column, in file order, and
// says "withheld" for a caller that sent no number.
TEST_F(CallMonitorPageTest, ListsEveryCompleteCallLineInFileOrder) {
  WriteLog("IN 4711 815 2005-03-01 14:05:09\r\n"
           "IN 4712  2005-03-02 08:00:00\r\n"          // no calling number
           "not a call record\r\n"                     // too few fields
           "IN 4714 817 2005-03-05 10:11:12");         // no line feed yet: still being written
  const std::vector<Row> expected{
      {"IN", "815", "4711", "2005-03-01", "14:05:09", ""},
      {"IN", "withheld", "4712", "2005-03-02", "08:00:00", ""},
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
  EXPECT_EQ((Row{"IN", "555", "4711", "2005-03-01", "14:06:00", ""}), Rows(page)[200]);
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
// time sort as one moment, numbers by their digits. The selected rows go to the clipboard as
// tab-separated lines.
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
  EXPECT_EQ("815|0301|4711|", callers());
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
  EXPECT_EQ("IN\t815\t4711\t2005-03-02\t08:00:00\t\r\nIN\t0301\t4712\t2005-03-01\t23:59:59\t\r\n"
            "IN\t4711\t4711\t2005-03-02\t07:00:00\t\r\n",
            ClipboardText());
  DestroyWindow(page.Hwnd());
}

std::string WindowText(HWND window) {
  wchar_t text[256] = L"";
  GetWindowTextW(window, text, static_cast<int>(std::size(text)));
  return os::Utf8(text);
}

void KeyOnPage(CCallMonitorDlg& page, HWND target, WPARAM key, bool control = false) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_CONTROL] = control ? 0x80 : 0;
  SetKeyboardState(keys);
  const MSG message{target, WM_KEYDOWN, key, 0, 0, {}};
  if (!page.OnDialogKey(message)) DispatchMessageW(&message);
  keys[VK_CONTROL] = 0;
  SetKeyboardState(keys);
}

// Answers the modal window of that title, as a user would, from another thread: act gets its handle.
std::thread Answer(const wchar_t* title, std::function<void(HWND)> act) {
  return std::thread([title, act] {
    HWND window = nullptr;
    for (int tries = 0; tries < 200 && !(window = FindWindowW(L"#32770", title)); ++tries) Sleep(25);
    if (window) act(window);
  });
}

// Typing in the search box keeps the calls whose numbers or name hold the text, the line under the list
// counts them, and a call heard meanwhile joins them when it matches; Esc clears the search, Ctrl+F and
// Ctrl+E come back to it. The Name column shows the phone book's names, and "Name this number..." names
// the selected call's caller there or says why it could not.
TEST_F(CallMonitorPageTest, SearchCountsAndNamesTheCalls) {
  std::string log = "IN 4711  2005-03-01 14:00:00\r\n";
  for (int i = 0; i < 200; ++i) log += "IN 4711 " + std::to_string(1000 + i) + " 2005-03-01 14:05:09\r\n";
  WriteLog(log);
  MapPhoneBook book;
  book.names = {{"1042", "M\xC3\xBCller GmbH"}};
  CallFeed feed;
  CCallMonitorDlg page(&feed, &book);
  ASSERT_TRUE(page.CreateChild(m_host.hwnd()));
  ShowWindow(page.Hwnd(), SW_SHOW);
  const HWND search = page.Item(IDC_CALL_SEARCH);
  const HWND count = page.Item(IDC_CALL_COUNT);
  const HWND list = page.list().Hwnd();
  EXPECT_EQ("201 calls", WindowText(count));

  SetWindowTextW(search, L"104");
  EXPECT_EQ("11 of 201 calls", WindowText(count));  // 1040 to 1049, and 1104
  EXPECT_EQ("1104", Rows(page).back()[1]) << "the newest last";
  feed.OnCallLogged({"IN", "4711", "5104", "2005-03-01", "15:00:00"});
  feed.OnCallLogged({"IN", "4711", "999", "2005-03-01", "15:01:00"});
  PumpUntilIdle();
  EXPECT_EQ("12 of 203 calls", WindowText(count));
  EXPECT_EQ("5104", Rows(page).back()[1]);
  SetWindowTextW(search, L"m\u00FCLLER");
  ASSERT_EQ(1u, Rows(page).size());
  EXPECT_EQ((Row{"IN", "1042", "4711", "2005-03-01", "14:05:09", "M\xC3\xBCller GmbH"}), Rows(page)[0]);

  KeyOnPage(page, search, VK_ESCAPE);
  EXPECT_EQ("", WindowText(search));
  EXPECT_EQ("203 calls", WindowText(count));
  SetFocus(list);
  KeyOnPage(page, list, 'F', true);
  EXPECT_EQ(search, GetFocus());
  SetFocus(list);
  KeyOnPage(page, list, 'E', true);
  EXPECT_EQ(search, GetFocus());

  // Name the caller of the first row (1000): refused once with the book's reason, then kept.
  SendMessageW(list, LVM_ENSUREVISIBLE, 1, FALSE);
  LVITEMW selected{};
  selected.stateMask = selected.state = LVIS_SELECTED;
  SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&selected));
  book.refusal = "Access is denied.";
  std::string refusal;
  std::thread user = Answer(L"Name this number", [&](HWND dialog) {
    SetDlgItemTextW(dialog, IDC_NAME_TEXT, L"Amt S\u00FCd");
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    Answer(L"Telvaro Fax Server Monitor", [&](HWND box) {
      refusal = WindowText(GetDlgItem(box, 0xFFFF));
      PostMessageW(box, WM_COMMAND, IDOK, 0);
    }).join();
    book.refusal.clear();
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
  });
  SendMessageW(page.Hwnd(), WM_COMMAND, IDM_CALLS_NAME_NUMBER, 0);
  user.join();
  EXPECT_EQ("The name could not be kept: Access is denied.", refusal);
  EXPECT_EQ("Amt S\xC3\xBC" "d", book.names["1000"]);
  EXPECT_EQ("Amt S\xC3\xBC" "d", Rows(page)[1][5]) << "the list follows the book";
  SetWindowTextW(search, L"amt");
  EXPECT_EQ("1 of 203 calls", WindowText(count));
  DestroyWindow(page.Hwnd());
}

}  // namespace
}  // namespace tfm::test
