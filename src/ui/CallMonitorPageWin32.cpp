#include "ui/CallMonitorPageWin32.h"

#include <commdlg.h>

#include <algorithm>
#include <iterator>
#include <new>
#include <numeric>
#include <string_view>

#include "calllog/CallLogFileWin32.h"
#include "calllog/CallLogReaderWin32.h"
#include "calllog/CallRowsText.h"
#include "calllog/ListSeparatorWin32.h"
#include "common/Trace.h"
#include "common/UserNotice.h"
#include "os/Clipboard.h"
#include "os/Owned.h"
#include "os/Text.h"
#include "res/resource.h"

namespace tfm {
namespace {

constexpr char kNoCallsNote[] = "No calls have been logged yet.";

// Left to right; the caller's number comes before the number called. The columns share the list's
// width in these proportions, which leave room for the titles and for numbers of up to 16 digits.
constexpr const char* kColumnTitles[] = {"Call Type", "Caller Id", "Called MSN", "Date", "Time"};
constexpr int32_t kColumnShares[] = {14, 24, 24, 20, 18};
static_assert(std::size(kColumnTitles) == kCallColumnCount && std::size(kColumnShares) == kCallColumnCount);

// Every cell gets this image index; the list has no image list, so nothing is drawn for it.
constexpr int kCellImage = 2;

// The longest path the save dialog may return, in UTF-16 units.
constexpr size_t kMaxPathLength = 32768;

// Exported text is written in parts of about this length, so that a large export needs little memory.
constexpr size_t kWriteLength = 64 * 1024;

LRESULT Send(HWND list, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  return SendMessageW(list, message, wParam, lParam);
}

void SetRowState(HWND list, int row, UINT state, UINT mask) {
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  Send(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

bool WriteAll(HANDLE file, std::string_view text) {
  DWORD written = 0;
  return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}

}  // namespace

CCallMonitorDlg::CCallMonitorDlg(CallFeed* calls, const fw::CColorizedTheme* theme)
    : fw::ResizableDialog(IDD_CALL_MONITOR, theme), m_calls(calls) {}

const fw::MessageEntry<CCallMonitorDlg> CCallMonitorDlg::kMessageMap[] = {
    fw::OnDrawItem<&CCallMonitorDlg::OnDrawListRow>(IDC_CALL_LIST),
    fw::OnNotify<&CCallMonitorDlg::OnListNotify>(IDC_CALL_LIST),
    fw::OnContextMenu<&CCallMonitorDlg::OnContextMenu>(),
    fw::OnCommand<&CCallMonitorDlg::OnCopy>(IDM_CALLS_COPY),
    fw::OnCommand<&CCallMonitorDlg::OnSelectAll>(IDM_CALLS_SELECT_ALL),
    fw::OnCommand<&CCallMonitorDlg::OnExport>(IDM_CALLS_EXPORT),
    fw::OnMessage<&CCallMonitorDlg::OnCallsLogged>(kCallsLoggedMessage),
    fw::OnMessage<&CCallMonitorDlg::OnDestroy>(WM_DESTROY, fw::Platform::After),
};

bool CCallMonitorDlg::OnInitDialog() {
  fw::ResizableDialog::OnInitDialog();
  ShowSizeGrip(false);
  m_list.Attach(Item(IDC_CALL_LIST));
  AddAnchor(IDC_CALL_LIST, fw::kTopLeft, fw::kBottomRight);
  m_emptyNote.Create(*this, IDC_CALL_LIST, kNoCallsNote);
  m_list.SetHighlightMode(CReportListCtrl::kHighlightRow);
  for (int index = 0; index < static_cast<int>(std::size(kColumnTitles)); ++index) {
    m_list.InsertColumn(kColumnTitles[index], index, 0, LVCFMT_LEFT, -1, LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM);
  }
  m_list.FitColumns(kColumnShares);
  LoadCallLog();
  return true;
}

void CCallMonitorDlg::UpdateEmptyNote() {
  m_emptyNote.Show(m_index.RowCount() == 0);
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
  // An empty list says why when the file could not be read, rather than that no call was logged.
  SetWindowTextW(m_emptyNote.Hwnd(), os::Wide(error ? CallLogUnreadableText(path, error) : kNoCallsNote).c_str());
  if (error) TraceF("call page: the call log cannot be read, error %lu", static_cast<unsigned long>(error));
  m_fileMayHoldHeard = true;
  const HWND list = m_list.Hwnd();
  Send(list, LVM_SETITEMCOUNT, m_index.RowCount(), LVSICF_NOINVALIDATEALL);
  Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(std::max<ptrdiff_t>(m_index.NewestPosition(), 0)), FALSE);
  InvalidateRect(list, nullptr, TRUE);
  UpdateEmptyNote();
  TraceF("call page: %d rows", static_cast<int>(m_index.RowCount()));
}

bool CCallMonitorDlg::SelectCall(const CallLogRow& call) {
  const ptrdiff_t position = m_index.FindNewest(call);
  TraceF("call page: call of %s at %s %s %s", call.callingNumber.c_str(), call.date.c_str(), call.time.c_str(),
         position < 0 ? "not listed" : "selected");
  if (position < 0) return false;
  const HWND list = m_list.Hwnd();
  SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  SetRowState(list, static_cast<int>(position), LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(position), FALSE);
  return true;
}

void CCallMonitorDlg::OnDestroy() {
  if (m_calls) m_calls->Detach();
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

void CCallMonitorDlg::OnCellWanted(LVITEMW& item) const {
  if (item.mask & LVIF_IMAGE) item.iImage = kCellImage;
  if (!(item.mask & LVIF_TEXT) || !item.pszText || item.cchTextMax <= 0) return;
  const std::wstring cell = os::Wide(m_index.Cell(static_cast<size_t>(item.iItem), item.iSubItem));
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
  SetRowState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
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
  const bool anySelected = Send(list, LVM_GETSELECTEDCOUNT) > 0;
  EnableMenuItem(popup, IDM_CALLS_COPY, MF_BYCOMMAND | (anySelected ? MF_ENABLED : MF_GRAYED));
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
    Send(list, LVM_SETITEMCOUNT, m_index.RowCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    if (static_cast<size_t>(position) + 1 == m_index.RowCount()) continue;
    ShiftSelectionFrom(position);
    if (!follow && position < Send(list, LVM_GETTOPINDEX)) {
      RECT row{LVIR_BOUNDS, 0, 0, 0};
      Send(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
      Send(list, LVM_SCROLL, 0, row.bottom - row.top);
    }
  }
  if (follow) Send(list, LVM_ENSUREVISIBLE, static_cast<WPARAM>(m_index.NewestPosition()), FALSE);
  InvalidateRect(list, nullptr, TRUE);
  UpdateEmptyNote();
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
  std::string text;
  for (const size_t position : positions) AppendTabSeparatedRow(text, m_index, position);
  const bool copied = os::PutClipboardText(Hwnd(), text);
  TraceF("call page: %d rows %s", static_cast<int>(positions.size()), copied ? "copied" : "not copied");
}

void CCallMonitorDlg::OnSelectAll() { SetRowState(m_list.Hwnd(), -1, LVIS_SELECTED, LVIS_SELECTED); }

// Two or more selected rows are exported; otherwise every row, in the order shown.
void CCallMonitorDlg::OnExport() {
  std::vector<size_t> positions = SelectedPositions();
  if (positions.size() < 2) {
    positions.resize(m_index.RowCount());
    std::iota(positions.begin(), positions.end(), size_t{0});
  }
  // Room for a long path: the user's folders may lie deeper than MAX_PATH.
  std::wstring path = L"calls.csv";
  path.resize(kMaxPathLength);
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = GetAncestor(Hwnd(), GA_ROOT);
  request.lpstrFilter = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
  request.lpstrFile = path.data();
  request.nMaxFile = static_cast<DWORD>(path.size());
  request.lpstrTitle = L"Export Calls";
  request.lpstrDefExt = L"csv";
  request.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&request)) return;
  const std::string chosen = os::Utf8(path.c_str());
  if (WriteCsv(chosen, positions)) {
    TraceF("call page: %d rows exported", static_cast<int>(positions.size()));
    return;
  }
  const std::string text = "The calls could not be written to " + chosen + ".";
  MessageBoxW(request.hwndOwner, os::Wide(text).c_str(), os::Wide(kProgramName).c_str(), MB_OK | MB_ICONWARNING);
}

bool CCallMonitorDlg::WriteCsv(const std::string& path, const std::vector<size_t>& positions) const {
  const os::UniqueHandle file = os::AdoptFile(
      CreateFileW(os::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  std::string_view titles[kCallColumnCount];
  std::copy(std::begin(kColumnTitles), std::end(kColumnTitles), titles);
  const std::string separator = CsvSeparator(UserListSeparator());
  std::string text;
  BeginCsv(text, titles, separator);
  for (const size_t position : positions) {
    AppendCsvRow(text, m_index, position, separator);
    if (text.size() < kWriteLength) continue;
    if (!WriteAll(file.get(), text)) return false;
    text.clear();
  }
  return WriteAll(file.get(), text);
}

bool CCallMonitorDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CCallMonitorDlg>(kMessageMap, message, wParam, lParam, result) ||
         fw::ResizableDialog::HandleMessage(message, wParam, lParam, result);
}

}  // namespace tfm
