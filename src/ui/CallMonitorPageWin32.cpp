#include "ui/CallMonitorPageWin32.h"

#include <commctrl.h>

#include <iterator>
#include <vector>

#include "calllog/CallLogFileWin32.h"
#include "calllog/CallLogReader.h"
#include "common/Trace.h"
#include "os/Process.h"
#include "res/resource.h"

namespace tfm {
namespace {

// Left to right; the caller's number comes before the number called. The columns share the list's
// width in these proportions, which leave room for the titles and for numbers of up to 16 digits.
constexpr const char* kColumnTitles[] = {"Call Type", "Caller Id", "Called MSN", "Date", "Time"};
constexpr int32_t kColumnShares[] = {14, 24, 24, 20, 18};
static_assert(std::size(kColumnTitles) == std::size(kColumnShares));

// Every cell gets this image index; the list has no image list, so nothing is drawn for it.
constexpr int kCellImage = 2;

}  // namespace

CCallMonitorDlg::CCallMonitorDlg(const fw::CColorizedTheme* theme) : fw::ResizableDialog(IDD_CALL_MONITOR, theme) {}

const fw::MessageEntry<CCallMonitorDlg> CCallMonitorDlg::kMessageMap[] = {
    fw::OnDrawItem<&CCallMonitorDlg::OnDrawListRow>(IDC_CALL_LIST),
};

bool CCallMonitorDlg::OnInitDialog() {
  fw::ResizableDialog::OnInitDialog();
  ShowSizeGrip(false);
  m_list.Attach(Item(IDC_CALL_LIST));
  m_list.SetHighlightMode(CReportListCtrl::kHighlightRow);
  for (int index = 0; index < static_cast<int>(std::size(kColumnTitles)); ++index) {
    m_list.InsertColumn(kColumnTitles[index], index, 0, LVCFMT_LEFT, -1, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM);
  }
  m_list.FitColumns(kColumnShares);
  LoadCallLog();
  return true;
}

// A log of a hundred thousand calls must still open quickly: the list neither redraws nor
// recomputes its scroll range while it is filled, and has room for every row before the first.
void CCallMonitorDlg::LoadCallLog() {
  const std::vector<CallLogRow> rows = ReadCallLog(CallLogFilePath());
  const HWND list = m_list.Hwnd();
  if (rows.empty() || !list) {
    TraceF("call page: 0 rows");
    return;
  }
  int end = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LVM_SETITEMCOUNT, static_cast<WPARAM>(end) + rows.size(), 0);
  for (const CallLogRow& row : rows) {
    const int index = m_list.SetItem(end, 0, row.callType.c_str(), kCellImage);
    if (index < 0) continue;
    end = index + 1;
    m_list.SetItem(index, 1, row.callingNumber.c_str(), kCellImage);
    m_list.SetItem(index, 2, row.calledNumber.c_str(), kCellImage);
    m_list.SetItem(index, 3, row.date.c_str(), kCellImage);
    m_list.SetItem(index, 4, row.time.c_str(), kCellImage);
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  TraceF("call page: %d rows", end);
}

bool CCallMonitorDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CCallMonitorDlg>(kMessageMap, message, wParam, lParam, result) ||
         fw::ResizableDialog::HandleMessage(message, wParam, lParam, result);
}

}  // namespace tfm
