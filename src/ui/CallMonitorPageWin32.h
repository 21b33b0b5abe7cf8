#pragma once
// CCallMonitorDlg: the "Call Monitor" page of the Devices Monitor dialog. When it is created it reads
// the call log that the ISDN monitor writes beside the executable and lists one row per logged call,
// oldest first. The list is a snapshot: calls logged while the page is open show at the next opening.
#include <windows.h>

#include "framework/EmptyNote.h"
#include "framework/ResizableDialog.h"
#include "ui/ReportListCtrlWin32.h"

namespace tfm {

class CCallMonitorDlg : public fw::ResizableDialog {
 public:
  // theme: the colours of the dialog that holds the page; null for the system's.
  explicit CCallMonitorDlg(const fw::CColorizedTheme* theme = nullptr);

  // Fills the list from the call log beside the executable; a missing or unreadable log leaves it
  // as it is, without a message.
  void LoadCallLog();
  // Shows "No calls have been logged yet." in place of the list while it has no rows; called
  // whenever the number of rows may have changed.
  void UpdateEmptyNote();

  const CReportListCtrl& list() const { return m_list; }

 protected:
  bool OnInitDialog() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // The platform asks the list's parent to draw the list's rows; the list draws them itself.
  void OnDrawListRow(const DRAWITEMSTRUCT& request) { m_list.DrawItem(request); }

  static const fw::MessageEntry<CCallMonitorDlg> kMessageMap[];
  CReportListCtrl m_list;
  fw::EmptyNote m_emptyNote;
};

}  // namespace tfm
