#pragma once
// CCallMonitorDlg: the "Call Monitor" page of the Devices Monitor dialog. When it is created it indexes
// the call log that the ISDN monitor writes beside the executable and lists one row per logged call,
// the newest in view, with the caller's name from the phone book. The list holds no texts of its own
// (owner data): the page answers for every cell from the index. Calls logged while the page is open
// come from the call feed and are listed at once. The search box above the list keeps the calls whose
// numbers or name hold its text, and the line under the list counts them. A header click sorts by that
// column (again for the other direction); Ctrl+C and the context menu copy the selected rows as
// tab-separated text, the menu and the "Export..." button export them as CSV, and the menu names the
// caller of a call in the phone book.
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "calllog/CallLogIndex.h"
#include "framework/EmptyNote.h"
#include "framework/ResizableDialog.h"
#include "phonebook/PhoneBookPort.h"
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
  // How often the page asks whether the phone book has changed (read again, or named elsewhere).
  static constexpr UINT_PTR kPhoneBookTimerId = 1;
  static constexpr UINT kPhoneBookCheckMs = 1000;

  // calls: the feed of calls logged while the page is open, or null for the file alone. book: the
  // callers' names, or null for none. theme: the colours of the dialog that holds the page; null for
  // the system's.
  explicit CCallMonitorDlg(CallFeed* calls = nullptr, IPhoneBook* book = nullptr,
                           const fw::CColorizedTheme* theme = nullptr);

  // Lists the call log beside the executable. A missing log is an empty list ("No calls have been
  // logged yet."); one that cannot be read is an empty list that says why.
  void LoadCallLog();
  // Selects the newest row of the call, alone, and brings it into view (clearing a search that hides
  // it); false when it is not listed.
  bool SelectCall(const CallLogRow& call);
  // Keys of the whole dialog that belong to the page while it is shown: Ctrl+F and Ctrl+E go to the
  // search box, Esc in a search box that holds text clears it, and Enter there goes on to the list.
  // True when the page took the key.
  bool OnDialogKey(const MSG& message);

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
  std::string CellText(size_t position, int column) const;
  void OnColumnClick(int column);
  void OnKey(WORD key);
  void OnContextMenu(HWND clicked, POINT screen);
  void OnSearchChange(UINT notifyCode, HWND);
  void OnCallsLogged();
  void OnTimer(UINT_PTR id);
  void OnDestroy();
  void OnCopy();
  void OnSelectAll();
  void OnExport();
  void OnNameNumber();

  // The rows changed as a whole (searched, or renamed): no selection, the newest in view.
  void ShowNewRows();
  // The count under the list, and the note (no calls yet, or why the log cannot be read) in place of
  // the list while the log has no calls; called whenever the number of rows may have changed.
  void UpdateCount();
  // The book has changed: a search or a sort by name takes the names afresh; otherwise the rows in
  // view ask the book for their names when drawn.
  void FollowPhoneBook();
  std::vector<size_t> SelectedPositions() const;
  bool NewestInView() const;
  void ShiftSelectionFrom(int position);

  static const fw::MessageEntry<CCallMonitorDlg> kMessageMap[];
  CallFeed* m_calls;
  IPhoneBook* m_book;
  uint64_t m_bookGeneration = 0;  // the book's generation the rows were drawn with
  CReportListCtrl m_list;
  CallLogIndex m_index;
  bool m_fileMayHoldHeard = false;  // the first calls heard may have been read from the file too
  fw::EmptyNote m_emptyNote;
};

}  // namespace tfm
