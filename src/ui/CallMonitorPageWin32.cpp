#include "ui/CallMonitorPageWin32.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <string_view>

#include "calllog/CallLogFileWin32.h"
#include "calllog/CallLogReaderWin32.h"
#include "calllog/CallRowsText.h"
#include "calllog/ListSeparatorWin32.h"
#include "common/Trace.h"
#include "framework/WindowText.h"
#include "os/Clipboard.h"
#include "os/Owned.h"
#include "os/Text.h"
#include "res/resource.h"
#include "ui/CallExportWin32.h"
#include "ui/NameNumberDlgWin32.h"

namespace tfm {
namespace {

constexpr char kNoCallsNote[] = "No calls have been logged yet.";
constexpr char kSearchCue[] = "Search calls";
// What the caller's cell says when the caller sent no number; copies and exports keep the log's empty field.
constexpr char kWithheld[] = "withheld";

// Left to right; the caller's number comes before the number called. The columns share the list's width
// in these proportions, which leave room for the titles and for callers of up to 13 digits (a called MSN
// is shorter).
constexpr std::string_view kColumnTitles[] = {"Call Type", "Caller Id", "Called MSN", "Date", "Time", "Name"};
constexpr int32_t kColumnShares[] = {13, 20, 18, 16, 13, 20};
static_assert(std::size(kColumnTitles) == kCallColumnCount && std::size(kColumnShares) == kCallColumnCount);

// Every cell gets this image index; the list has no image list, so nothing is drawn for it.
constexpr int kCellImage = 2;

LRESULT Send(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(list, message, wParam, lParam);
}

void SetRowState(HWND list, int row, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// Wine's list clears a selection of all rows (-1) one row at a time: a million rows take some 400 ms. A
// list with nothing selected is left alone, and the focus is taken from its one row.
void ClearSelection(HWND list) {
  if (Send(list, LVM_GETSELECTEDCOUNT) > 0) SetRowState(list, -1, 0, LVIS_SELECTED);
  const auto focused = static_cast<int>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused >= 0) SetRowState(list, focused, 0, LVIS_FOCUSED);
}

bool KeyDown(const MSG& message, WPARAM key) { return message.message == WM_KEYDOWN && message.wParam == key; }

}  // namespace

CCallMonitorDlg::CCallMonitorDlg(CallFeed* calls, IPhoneBook* book, const fw::CColorizedTheme* theme)
    : fw::ResizableDialog(IDD_CALL_MONITOR, theme), m_calls(calls), m_book(book) {}

const fw::MessageEntry<CCallMonitorDlg> CCallMonitorDlg::kMessageMap[] = {
    fw::OnDrawItem<&CCallMonitorDlg::OnDrawListRow>(IDC_CALL_LIST),
    fw::OnNotify<&CCallMonitorDlg::OnListNotify>(IDC_CALL_LIST),
    fw::OnContextMenu<&CCallMonitorDlg::OnContextMenu>(),
    fw::OnCommand<&CCallMonitorDlg::OnCopy>(IDM_CALLS_COPY),
    fw::OnCommand<&CCallMonitorDlg::OnSelectAll>(IDM_CALLS_SELECT_ALL),
    fw::OnCommand<&CCallMonitorDlg::OnExport>(IDM_CALLS_EXPORT),
    fw::OnCommand<&CCallMonitorDlg::OnNameNumber>(IDM_CALLS_NAME_NUMBER),
    fw::OnCommand<&CCallMonitorDlg::OnSearchChange>(IDC_CALL_SEARCH),
    fw::OnMessage<&CCallMonitorDlg::OnCallsLogged>(kCallsLoggedMessage),
    fw::OnTimer<&CCallMonitorDlg::OnTimer>(),
    fw::OnMessage<&CCallMonitorDlg::OnDestroy>(WM_DESTROY, fw::Platform::After),
};

bool CCallMonitorDlg::OnInitDialog() {
  fw::ResizableDialog::OnInitDialog();
  ShowSizeGrip(false);
  m_list.Attach(Item(IDC_CALL_LIST));
  AddAnchor(IDC_CALL_SEARCH, fw::kTopLeft, {100, 0});
  AddAnchor(IDM_CALLS_EXPORT, {100, 0}, {100, 0});
  AddAnchor(IDC_CALL_LIST, fw::kTopLeft, fw::kBottomRight);
  AddAnchor(IDC_CALL_COUNT, fw::kBottomLeft, fw::kBottomRight);
  SendMessageW(Item(IDC_CALL_SEARCH), EM_SETCUEBANNER, FALSE, reinterpret_cast<LPARAM>(os::Wide(kSearchCue).c_str()));
  m_emptyNote.Create(*this, IDC_CALL_LIST, kNoCallsNote);
  m_list.SetHighlightMode(CReportListCtrl::kHighlightRow);
  for (int index = 0; index < kCallColumnCount; ++index) {
    const std::string title(kColumnTitles[index]);
    m_list.InsertColumn(title.c_str(), index, 0, LVCFMT_LEFT, -1, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM);
  }
  m_list.FitColumns(kColumnShares);
  if (m_book) {
    m_bookGeneration = m_book->Generation();
    SetTimer(Hwnd(), kPhoneBookTimerId, kPhoneBookCheckMs, nullptr);
  }
  LoadCallLog();
  return true;
}

void CCallMonitorDlg::UpdateCount() {
  m_emptyNote.Show(m_index.TotalCount() == 0);
  const std::string count = CallCountText(m_index.RowCount(), m_index.TotalCount(), !m_index.FilterText().empty(),
                                          UserThousandsSeparator());
  SetWindowTextW(Item(IDC_CALL_COUNT), os::Wide(count).c_str());
}

// The feed is attached before the file is read, so that no call falls between the two; the calls
// heard meanwhile may be in the file already, which the first of them to be listed finds out.
void CCallMonitorDlg::LoadCallLog() {
  if (m_calls) m_calls->Attach(Hwnd(), kCallsLoggedMessage);
  const std::string path = CallLogFilePath();
  uint32_t error = 0;
  try {
    CallLogText text = ReadCallLogTail(path, kMaxCallLogLength);
    error = text.error;
    m_index = CallLogIndex(std::move(text.bytes));
  } catch (const std::bad_alloc&) {
    m_index = CallLogIndex();
    Trace("call page: the call log is too large to be listed");
  }
  m_index.UseNames(m_book);
  // An empty list says why when the file could not be read, rather than that no call was logged.
  SetWindowTextW(m_emptyNote.Hwnd(), os::Wide(error ? CallLogUnreadableText(path, error) : kNoCallsNote).c_str());
  if (error) TraceF("call page: the call log cannot be read, error %lu", static_cast<unsigned long>(error));
  m_fileMayHoldHeard = true;
  const HWND list = m_list.Hwnd();
  Send(list, LVM_SETITEMCOUNT, m_index.RowCount(), LVSICF_NOINVALIDATEALL);
  Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::max<ptrdiff_t>(m_index.NewestPosition(), 0)), FALSE);
  InvalidateRect(list, nullptr, TRUE);
  UpdateCount();
  TraceF("call page: %d rows", static_cast<int>(m_index.RowCount()));
}

bool CCallMonitorDlg::SelectCall(const CallLogRow& call) {
  if (m_index.FindNewest(call) < 0 && !m_index.FilterText().empty()) SetWindowTextW(Item(IDC_CALL_SEARCH), L"");
  const ptrdiff_t position = m_index.FindNewest(call);
  TraceF("call page: call of %s at %s %s %s", call.callingNumber.c_str(), call.date.c_str(), call.time.c_str(),
         position < 0 ? "not listed" : "selected");
  if (position < 0) return false;
  const HWND list = m_list.Hwnd();
  ClearSelection(list);
  SetRowState(list, static_cast<int>(position), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(position), FALSE);
  return true;
}

bool CCallMonitorDlg::OnDialogKey(const MSG& message) {
  if (!IsWindowVisible(Hwnd())) return false;
  const HWND search = Item(IDC_CALL_SEARCH);
  const bool control = GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) >= 0;
  if (control && (KeyDown(message, 'F') || KeyDown(message, 'E'))) {
    SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(search), TRUE);
    SendMessageW(search, EM_SETSEL, 0, -1);
    return true;
  }
  if (message.hwnd != search) return false;
  if (KeyDown(message, VK_ESCAPE) && GetWindowTextLengthW(search) > 0) {
    SetWindowTextW(search, L"");
    return true;
  }
  if (KeyDown(message, VK_RETURN)) {
    SendMessageW(Hwnd(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_list.Hwnd()), TRUE);
    return true;
  }
  return false;
}

// Each change of the text searches at once: a search of a million calls takes some tens of milliseconds.
void CCallMonitorDlg::OnSearchChange(UINT notifyCode, HWND search) {
  if (notifyCode != EN_CHANGE) return;
  m_index.Filter(fw::WindowText(search));
  ShowNewRows();
  TraceF("call page: %d of %d rows for the search", static_cast<int>(m_index.RowCount()),
         static_cast<int>(m_index.TotalCount()));
}

// The selection is cleared while the list is the shorter, before it grows or after it shrinks.
void CCallMonitorDlg::ShowNewRows() {
  const HWND list = m_list.Hwnd();
  const bool fewer = m_index.RowCount() < static_cast<size_t>(Send(list, LVM_GETITEMCOUNT));
  if (!fewer) ClearSelection(list);
  Send(list, LVM_SETITEMCOUNT, m_index.RowCount(), LVSICF_NOINVALIDATEALL);
  if (fewer) ClearSelection(list);
  Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::max<ptrdiff_t>(m_index.NewestPosition(), 0)), FALSE);
  InvalidateRect(list, nullptr, TRUE);
  UpdateCount();
}

void CCallMonitorDlg::OnTimer(UINT_PTR id) {
  if (id == kPhoneBookTimerId) FollowPhoneBook();
}

void CCallMonitorDlg::FollowPhoneBook() {
  if (!m_book || m_book->Generation() == m_bookGeneration) return;
  m_bookGeneration = m_book->Generation();
  const bool sortedByName = m_index.SortColumn() == static_cast<int>(CallColumn::kName);
  if ((sortedByName || !m_index.FilterText().empty()) && m_index.RefreshNames()) ShowNewRows();
  InvalidateRect(m_list.Hwnd(), nullptr, TRUE);
  Trace("call page: the phone book has changed");
}

void CCallMonitorDlg::OnDestroy() {
  if (m_calls) m_calls->Detach();
  KillTimer(Hwnd(), kPhoneBookTimerId);
}

LRESULT CCallMonitorDlg::OnListNotify(const NMHDR& header) {
  switch (header.code) {
    case LVN_GETDISPINFOW: OnCellWanted(reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header))->item); break;
    case LVN_COLUMNCLICK: OnColumnClick(reinterpret_cast<const NMLISTVIEW&>(header).iSubItem); break;
    case LVN_KEYDOWN: OnKey(reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey); break;
    default: break;
  }
  return 0;
}

// Names the index does not hold yet (the book changed, and nothing has needed them all since) are asked
// of the book for the rows drawn.
std::string CCallMonitorDlg::CellText(size_t position, int column) const {
  const std::string_view cell = m_index.Cell(position, column);
  if (column == static_cast<int>(CallColumn::kCalling) && cell.empty() && position < m_index.RowCount())
    return kWithheld;
  if (column == static_cast<int>(CallColumn::kName) && m_book && !m_index.NamesCurrent())
    return m_book->NameFor(m_index.Cell(position, static_cast<int>(CallColumn::kCalling)));
  return std::string(cell);
}

void CCallMonitorDlg::OnCellWanted(LVITEMW& item) const {
  if (item.mask & LVIF_IMAGE) item.iImage = kCellImage;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::wstring cell = os::Wide(CellText(static_cast<size_t>(item.iItem), item.iSubItem));
  const size_t length = std::min(cell.size(), static_cast<size_t>(item.cchTextMax - 1));
  std::copy_n(cell.data(), length, item.pszText);
  item.pszText[length] = L'\0';
}

// The same column again turns the direction; another column starts ascending. The selection goes,
// as its rows have moved, and the list shows the first rows of the new order.
void CCallMonitorDlg::OnColumnClick(int column) {
  const bool ascending = column == m_index.SortColumn() ? !m_index.SortAscending() : true;
  m_index.Sort(column, ascending);
  m_list.SetSortArrow(column, ascending);
  const HWND list = m_list.Hwnd();
  ClearSelection(list);
  Send(list, LVM_ENSUREVISIBLE, 0, FALSE);
  InvalidateRect(list, nullptr, TRUE);
  TraceF("call page: sorted by column %d %s", column, ascending ? "ascending" : "descending");
}

void CCallMonitorDlg::OnKey(WORD key) {
  if (GetKeyState(VK_CONTROL) >= 0) return;
  if (key == 'C') OnCopy();
  if (key == 'A') OnSelectAll();
}

void CCallMonitorDlg::OnContextMenu(HWND clicked, POINT screen) {
  const HWND list = m_list.Hwnd();
  if (clicked != list) return;
  if (screen.x == -1 && screen.y == -1) {  // from the keyboard: at the focused row, or the list's corner
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    const auto focused = static_cast<int>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focused < 0 || !Send(list, LVM_GETITEMRECT, static_cast<WPARAM>(focused), reinterpret_cast<LPARAM>(&row)))
      row = {};
    screen = {row.left, row.bottom};
    ClientToScreen(list, &screen);
  }
  const os::UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_CALL_LIST_MENU)));
  const HMENU popup = GetSubMenu(menu.get(), 0);
  if (!popup) return;
  const auto selected = static_cast<int>(Send(list, LVM_GETSELECTEDCOUNT));
  const auto first = static_cast<size_t>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  const bool nameable =
      m_book && selected == 1 && !m_index.Cell(first, static_cast<int>(CallColumn::kCalling)).empty();
  EnableMenuItem(popup, IDM_CALLS_COPY, MF_BYCOMMAND | (selected > 0 ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(popup, IDM_CALLS_NAME_NUMBER, MF_BYCOMMAND | (nameable ? MF_ENABLED : MF_GRAYED));
  EnableMenuItem(popup, IDM_CALLS_EXPORT, MF_BYCOMMAND | (m_index.RowCount() ? MF_ENABLED : MF_GRAYED));
  TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, screen.x, screen.y, 0, Hwnd(), nullptr);
}

bool CCallMonitorDlg::NewestInView() const {
  const ptrdiff_t newest = m_index.NewestPosition();
  if (newest < 0) return true;
  const HWND list = m_list.Hwnd();
  const auto top = static_cast<ptrdiff_t>(Send(list, LVM_GETTOPINDEX));
  return newest >= top && newest < top + std::max<ptrdiff_t>(Send(list, LVM_GETCOUNTPERPAGE), 1);
}

// The list keeps its selection by position: rows at or below an inserted one move down by one.
void CCallMonitorDlg::ShiftSelectionFrom(int position) {
  const HWND list = m_list.Hwnd();
  std::vector<int> moved;
  for (int row = position - 1; (row = static_cast<int>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                            LVNI_SELECTED))) >= 0;)
    moved.push_back(row);
  for (auto row = moved.rbegin(); row != moved.rend(); ++row) {
    SetRowState(list, *row, 0, LVIS_SELECTED);
    SetRowState(list, *row + 1, LVIS_SELECTED, LVIS_SELECTED);
  }
  const auto focused = static_cast<int>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused >= position) SetRowState(list, focused + 1, LVIS_FOCUSED, LVIS_FOCUSED);
}

// A view that showed the newest call follows the new ones; any other stays on the rows it showed.
void CCallMonitorDlg::OnCallsLogged() {
  if (!m_calls) return;
  const std::vector<CallLogRow> heard = m_calls->Take();
  if (heard.empty()) return;
  const size_t known = m_fileMayHoldHeard ? m_index.CountAlreadyRead(heard) : 0;
  m_fileMayHoldHeard = false;
  const bool follow = NewestInView();
  const HWND list = m_list.Hwnd();
  for (size_t i = known; i < heard.size(); ++i) {
    const auto position = static_cast<int>(m_index.Append(heard[i]));
    if (position < 0) continue;  // the search hides it
    Send(list, LVM_SETITEMCOUNT, m_index.RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    if (static_cast<size_t>(position) + 1 == m_index.RowCount()) continue;
    ShiftSelectionFrom(position);
    if (!follow && position < Send(list, LVM_GETTOPINDEX)) {
      RECT row{LVIR_BOUNDS, 0, 0, 0};
      Send(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
      Send(list, LVM_SCROLL, 0, row.bottom - row.top);
    }
  }
  if (follow && m_index.RowCount() > 0)
    Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(m_index.NewestPosition()), FALSE);
  InvalidateRect(list, nullptr, TRUE);
  UpdateCount();
  TraceF("call page: %d calls listed live, %d rows", static_cast<int>(heard.size() - known),
         static_cast<int>(m_index.RowCount()));
}

std::vector<size_t> CCallMonitorDlg::SelectedPositions() const {
  std::vector<size_t> positions;
  const HWND list = m_list.Hwnd();
  for (int row = -1; (row = static_cast<int>(Send(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row), LVNI_SELECTED))) >= 0;)
    positions.push_back(static_cast<size_t>(row));
  return positions;
}

void CCallMonitorDlg::OnCopy() {
  const std::vector<size_t> positions = SelectedPositions();
  if (positions.empty()) return;
  m_index.RefreshNames();
  std::string text;
  for (const size_t position : positions) AppendTabSeparatedRow(text, m_index, position);
  const bool copied = os::PutClipboardText(Hwnd(), text);
  TraceF("call page: %d rows %s", static_cast<int>(positions.size()), copied ? "copied" : "not copied");
}

void CCallMonitorDlg::OnSelectAll() { SetRowState(m_list.Hwnd(), -1, LVIS_SELECTED, LVIS_SELECTED); }

// The rows listed (those the search keeps), in the order shown; when some of them are selected, the
// user chooses between those and all.
void CCallMonitorDlg::OnExport() {
  const HWND owner = GetAncestor(Hwnd(), GA_ROOT);
  const std::vector<size_t> positions =
      ChooseExportRows(owner, SelectedPositions(), m_index.RowCount(), UserThousandsSeparator());
  if (positions.empty()) return;
  const std::string path = ChooseExportPath(owner);
  if (path.empty()) return;
  m_index.RefreshNames();
  if (WriteCallsCsv(path, m_index, positions, kColumnTitles)) {
    TraceF("call page: %d rows exported", static_cast<int>(positions.size()));
    return;
  }
  fw::ShowMessage(owner, "The calls could not be written to " + path + ".", MB_OK | MB_ICONWARNING);
}

void CCallMonitorDlg::OnNameNumber() {
  const std::vector<size_t> selected = SelectedPositions();
  if (!m_book || selected.size() != 1) return;
  const std::string number(m_index.Cell(selected.front(), static_cast<int>(CallColumn::kCalling)));
  if (number.empty()) return;  // withheld
  CNameNumberDlg dialog(*m_book, number);
  if (dialog.DoModal(GetAncestor(Hwnd(), GA_ROOT)) == IDOK) FollowPhoneBook();
}

bool CCallMonitorDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CCallMonitorDlg>(kMessageMap, message, wParam, lParam, result) ||
         fw::ResizableDialog::HandleMessage(message, wParam, lParam, result);
}

}  // namespace tfm
