#pragma once
// CCallMonitorDlg: the "Call Monitor" page of the Devices Monitor dialog. When it is created it indexes
// the call log that the ISDN monitor writes beside the executable and lists one row per logged call,
// the newest in view. The list holds no texts of its own (owner data): the page answers for every
// cell from the index. Calls logged while the page is open come from the call feed and are listed at
// once. A header click sorts by that column (again for the other direction); Ctrl+C and the context
// menu copy the selected rows as tab-separated text, and the menu exports them as CSV.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "calllog/CallLogIndex.h"
#include "framework/EmptyNote.h"
#include "framework/ResizableDialog.h"
#include "ui/CallFeedWin32.h"
#include "ui/ReportListCtrlWin32.h"

namespace tfm {

class CCallMonitorDlg : public fw::ResizableDialog {
 public:
  // Posted by the call feed when logged calls wait to be listed; no parameters.
  static constexpr UINT kCallsLoggedMessage = WM_APP + 1;
  // A log longer than this is listed from the line that starts its last part: a 32-bit process must
  // still hold it (a quarter of a GiB is some six million calls).
  static constexpr uint64_t kMaxCallLogLength = 256u << 20;

  // calls: the feed of calls logged while the page is open, or null for the file alone. theme: the
  // colours of the dialog that holds the page; null for the system's.
  explicit CCallMonitorDlg(CallFeed* calls = nullptr, const fw::CColorizedTheme* theme = nullptr);

  // Lists the call log beside the executable. A missing log is an empty list ("No calls have been
  // logged yet."); one that cannot be read is an empty list that says why.
  void LoadCallLog();
  // Selects the newest row of the call, alone, and brings it into view; false when it is not listed.
  bool SelectCall(const CallLogRow& call);

  const CReportListCtrl& list() const { return m_list; }
  const CallLogIndex& rows() const { return m_index; }

 protected:
  bool OnInitDialog() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // The platform asks the list's parent to draw the list's rows; the list draws them itself.
  void OnDrawListRow(const DRAWITEMSTRUCT& request) { m_list.DrawItem(request); }
  LRESULT OnListNotify(const NMHDR& header);
  void OnCellWanted(LVITEMW& item) const;
  void OnColumnClick(int column);
  void OnKey(WORD key);
  void OnContextMenu(HWND clicked, POINT screen);
  void OnCallsLogged();
  void OnDestroy();
  void OnCopy();
  void OnSelectAll();
  void OnExport();

  // Shows the note (no calls yet, or why the log cannot be read) in place of the list while it has no
  // rows; called whenever the number of rows may have changed.
  void UpdateEmptyNote();
  std::vector<size_t> SelectedPositions() const;
  bool NewestInView() const;
  void ShiftSelectionFrom(int position);
  bool WriteCsv(const std::string& path, const std::vector<size_t>& positions) const;

  static const fw::MessageEntry<CCallMonitorDlg> kMessageMap[];
  CallFeed* m_calls;
  CReportListCtrl m_list;
  CallLogIndex m_index;
  bool m_fileMayHoldHeard = false;  // the first calls heard may have been read from the file too
  fw::EmptyNote m_emptyNote;
};

}  // namespace tfm
