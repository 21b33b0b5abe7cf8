#include "ui/ReportListCtrlWin32.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>

#include "common/DisplayScale.h"
#include "framework/Dpi.h"
#include "os/DeviceContext.h"
#include "os/Text.h"

namespace tfm {
namespace {

using UniqueRegion = os::UniqueRegion;

RECT ItemRect(HWND list, int row, int part) {
  RECT rect{};
  rect.left = part;
  SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect));
  return rect;
}

// The cell's text; cells longer than the buffer are cut, which their ellipsis hides anyway.
struct CellText {
  wchar_t text[1024] = L"";
  CellText(HWND list, int row, int subItem) {
    LVITEMW item{};
    item.iSubItem = subItem;
    item.pszText = text;
    item.cchTextMax = static_cast<int>(std::size(text));
    SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    text[std::size(text) - 1] = L'\0';
  }
  bool empty() const { return text[0] == L'\0'; }
};

void ClipTo(HDC dc, const RECT& rect) {
  UniqueRegion region(CreateRectRgnIndirect(&rect));
  SelectClipRgn(dc, region.get());
}

void Fill(HDC dc, const RECT& rect, int systemColour) { FillRect(dc, &rect, GetSysColorBrush(systemColour)); }

void UseColours(HDC dc, int text, int background) {
  SetTextColor(dc, GetSysColor(text));
  SetBkColor(dc, GetSysColor(background));
}

UINT Alignment(int columnFormat) {
  switch (columnFormat & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT: return DT_RIGHT;
    case LVCFMT_CENTER: return DT_CENTER;
    default: return DT_LEFT;
  }
}

constexpr UINT kCellTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

}  // namespace

const fw::MessageEntry<CReportListCtrl> CReportListCtrl::kMessageMap[] = {
    fw::OnPaint<&CReportListCtrl::OnPaint>(fw::Platform::After),
    fw::OnFocus<&CReportListCtrl::OnSetFocus>(WM_SETFOCUS),
    fw::OnFocus<&CReportListCtrl::OnKillFocus>(WM_KILLFOCUS),
    fw::OnMouse<&CReportListCtrl::OnLeftButtonDown>(WM_LBUTTONDOWN, fw::Platform::After),
    fw::OnSize<&CReportListCtrl::OnSize>(fw::Platform::Before),
    fw::OnDpiChangedAfterParent<&CReportListCtrl::OnDpiChanged>(fw::Platform::After),
};

bool CReportListCtrl::Attach(HWND list) {
  if (!SubclassedWindow::Attach(list)) return false;
  m_hasFocus = GetFocus() == list;
  m_dpi = fw::WindowDpi(list);
  ApplyRowHeight();
  return true;
}

void CReportListCtrl::FitColumns(std::span<const int32_t> shares) {
  m_columnShares.assign(shares.begin(), shares.end());
  ApplyColumnWidths();
}

void CReportListCtrl::OnSize(UINT, int, int) { ApplyColumnWidths(); }

void CReportListCtrl::OnDpiChanged(UINT dpi) {
  m_dpi = dpi;
  ApplyRowHeight();
  ApplyColumnWidths();
}

void CReportListCtrl::ApplyColumnWidths() {
  if (m_columnShares.empty() || !Hwnd()) return;
  RECT client{};
  GetClientRect(Hwnd(), &client);  // without the vertical scroll bar, when the list shows one
  const std::vector<int32_t> widths = FitColumnWidths(m_columnShares, client.right - client.left);
  for (size_t column = 0; column < widths.size(); ++column)
    SendMessageW(Hwnd(), LVM_SETCOLUMNWIDTH, column, MAKELPARAM(widths[column], 0));
}

void CReportListCtrl::ApplyRowHeight() {
  const int height = fw::SystemMetricForDpi(SM_CYSMICON, m_dpi);
  os::UniqueImageList rows(ImageList_Create(1, height, ILC_COLOR, 0, 0));
  if (!rows) return;
  // The list owns the image list it holds; the one it held before comes back to be freed here.
  os::UniqueImageList previous(reinterpret_cast<HIMAGELIST>(
      SendMessageW(Hwnd(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(rows.release()))));
}

bool CReportListCtrl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CReportListCtrl>(kMessageMap, message, wParam, lParam, result);
}

// The flag changes before the platform's handling, whose repaint already draws the new state.
LRESULT CReportListCtrl::OnSetFocus(HWND previous) {
  m_hasFocus = true;
  const LRESULT result = DefaultProc(WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
  OnFocusChange(previous);
  return result;
}

LRESULT CReportListCtrl::OnKillFocus(HWND next) {
  m_hasFocus = false;
  const LRESULT result = DefaultProc(WM_KILLFOCUS, reinterpret_cast<WPARAM>(next), 0);
  OnFocusChange(next);
  return result;
}

bool CReportListCtrl::IsReportView() const {
  return (GetWindowLongPtrW(Hwnd(), GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT;
}

int32_t CReportListCtrl::SetHighlightMode(int32_t mode) {
  if (mode < kHighlightLabel || mode > kHighlightRow) return m_highlightMode;
  const int32_t previous = std::exchange(m_highlightMode, mode);
  if (!Hwnd()) return previous;
  if (mode != kHighlightLabel) {
    const LONG_PTR style = GetWindowLongPtrW(Hwnd(), GWL_STYLE);
    SetWindowLongPtrW(Hwnd(), GWL_STYLE, style | LVS_OWNERDRAWFIXED);
  }
  InvalidateRect(Hwnd(), nullptr, TRUE);
  return previous;
}

int CReportListCtrl::InsertColumn(const char* title, int index, int width, int format, int subItem, UINT mask) {
  if (!Hwnd()) return -1;
  LVCOLUMNW column{};
  column.mask = mask;
  column.fmt = format;
  column.cx = width;
  std::wstring text = os::Wide(title ? title : "");
  column.pszText = text.data();
  column.iSubItem = subItem == -1 ? index : subItem;
  return static_cast<int>(
      SendMessageW(Hwnd(), LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CReportListCtrl::SetItem(int row, int subItem, const char* text, int image) {
  if (!Hwnd()) return subItem == 0 ? -1 : 0;
  LVITEMW item{};
  item.mask = LVIF_TEXT | (image != -1 ? LVIF_IMAGE : 0u);
  item.iItem = row;
  item.iSubItem = subItem;
  std::wstring wide = os::Wide(text ? text : "");
  item.pszText = wide.data();
  item.iImage = image;
  if (subItem == 0) return static_cast<int>(SendMessageW(Hwnd(), LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
  return SendMessageW(Hwnd(), LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? 1 : 0;
}

void CReportListCtrl::SetSortArrow(int column, bool ascending) {
  const auto header = reinterpret_cast<HWND>(SendMessageW(Hwnd(), LVM_GETHEADER, 0, 0));
  const auto count = static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
  for (int index = 0; index < count; ++index) {
    HDITEMW item{};
    item.mask = HDI_FORMAT;
    if (!SendMessageW(header, HDM_GETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item))) continue;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (index == column) item.fmt |= ascending ? HDF_SORTUP : HDF_SORTDOWN;
    SendMessageW(header, HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
  }
}

void CReportListCtrl::DrawItem(const DRAWITEMSTRUCT& request) {
  const int row = static_cast<int>(request.itemID);
  LVITEMW item{};
  item.mask = LVIF_IMAGE | LVIF_STATE;
  item.iItem = row;
  item.stateMask = 0xFFFF;
  if (!Hwnd() || !SendMessageW(Hwnd(), LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return;

  const HDC dc = request.hDC;
  const os::SavedDcState saved(dc);
  if (const auto font = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0))) SelectObject(dc, font);
  const bool highlighted = IsHighlighted(item.state);
  const CellText first(Hwnd(), row, 0);
  const RowLayout layout = LayOutRow(dc, row, first.text);
  PaintHighlight(dc, layout.highlight, highlighted);
  DrawFirstColumn(dc, item, layout, highlighted);
  DrawOtherColumns(dc, row, layout);
  if ((item.state & LVIS_FOCUSED) && m_hasFocus) DrawFocusRect(dc, &layout.highlight);
}

// Dropping onto a row highlights it; so does selection while the list has the focus or keeps
// showing its selection without it.
bool CReportListCtrl::IsHighlighted(UINT state) const {
  const bool keepsSelection = (GetWindowLongPtrW(Hwnd(), GWL_STYLE) & LVS_SHOWSELALWAYS) != 0;
  return (state & LVIS_DROPHILITED) || ((state & LVIS_SELECTED) && (m_hasFocus || keepsSelection));
}

CReportListCtrl::RowLayout CReportListCtrl::LayOutRow(HDC dc, int row, const wchar_t* firstText) const {
  const HWND list = Hwnd();
  RowLayout layout;
  layout.bounds = ItemRect(list, row, LVIR_BOUNDS);
  layout.label = ItemRect(list, row, LVIR_LABEL);
  layout.icon = ItemRect(list, row, LVIR_ICON);
  layout.firstWidth = static_cast<int>(SendMessageW(list, LVM_GETCOLUMNWIDTH, 0, 0));
  layout.firstText = firstText;
  SIZE space{};
  GetTextExtentPoint32W(dc, L" ", 1, &space);
  layout.gap = 2 * space.cx;

  layout.highlight = layout.label;
  switch (m_highlightMode) {
    case kHighlightLabel: {
      SIZE text{};
      GetTextExtentPoint32W(dc, firstText, static_cast<int>(std::wcslen(firstText)), &text);
      layout.highlight.right = std::min<LONG>(layout.label.right, layout.label.left + text.cx + layout.gap);
      break;
    }
    case kHighlightColumns:
    case kHighlightRow:
      layout.highlight = layout.bounds;
      layout.highlight.left = layout.label.left;
      if (m_highlightMode == kHighlightRow) {
        RECT client{};
        GetClientRect(list, &client);
        layout.highlight.right = client.right;
      }
      break;
  }
  return layout;
}

void CReportListCtrl::PaintHighlight(HDC dc, const RECT& highlight, bool highlighted) {
  if (highlighted) {
    UseColours(dc, COLOR_HIGHLIGHTTEXT, COLOR_HIGHLIGHT);
    Fill(dc, highlight, COLOR_HIGHLIGHT);
  } else {
    UseColours(dc, COLOR_WINDOWTEXT, COLOR_WINDOW);
    Fill(dc, highlight, COLOR_WINDOW);
  }
}

// The state image, the small image and the label, clipped to the first column.
void CReportListCtrl::DrawFirstColumn(HDC dc, const LVITEMW& item, const RowLayout& layout, bool highlighted) const {
  const HWND list = Hwnd();
  const RECT& bounds = layout.bounds;
  ClipTo(dc, {bounds.left, bounds.top, bounds.left + layout.firstWidth, bounds.bottom});
  const UINT stateImage = (item.state & LVIS_STATEIMAGEMASK) >> 12;
  const auto stateImages = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_STATE, 0));
  if (stateImage != 0 && stateImages)
    ImageList_Draw(stateImages, static_cast<int>(stateImage) - 1, dc, bounds.left, bounds.top, ILD_TRANSPARENT);
  if (const auto images = reinterpret_cast<HIMAGELIST>(SendMessageW(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0))) {
    const UINT style = ILD_TRANSPARENT | (highlighted ? ILD_BLEND50 : 0u) | (item.state & LVIS_OVERLAYMASK);
    ImageList_Draw(images, item.iImage, dc, layout.icon.left, layout.icon.top, style);
  }
  RECT text = layout.label;
  text.left += layout.gap / 2;
  text.right -= layout.gap;
  DrawTextW(dc, layout.firstText, -1, &text, kCellTextFormat | DT_LEFT | DT_NOCLIP);
}

// Every further cell in its column's alignment; only the label mode leaves them unhighlighted.
void CReportListCtrl::DrawOtherColumns(HDC dc, int row, const RowLayout& layout) const {
  const HWND list = Hwnd();
  const RECT& bounds = layout.bounds;
  if (m_highlightMode == kHighlightLabel) UseColours(dc, COLOR_WINDOWTEXT, COLOR_WINDOW);
  ClipTo(dc, {bounds.left, bounds.top, std::max(bounds.right, layout.highlight.right), bounds.bottom});
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH;
  int cellLeft = bounds.left + layout.firstWidth;
  for (int subItem = 1; SendMessageW(list, LVM_GETCOLUMNW, subItem, reinterpret_cast<LPARAM>(&column)); ++subItem) {
    const RECT cell{cellLeft, bounds.top, cellLeft + column.cx, bounds.bottom};
    cellLeft = cell.right;
    if (m_highlightMode == kHighlightLabel) Fill(dc, cell, COLOR_WINDOW);
    const CellText text(list, row, subItem);
    if (text.empty()) continue;
    RECT inset{cell.left + layout.gap, cell.top, cell.right - layout.gap, cell.bottom};
    DrawTextW(dc, text.text, -1, &inset, kCellTextFormat | Alignment(column.fmt));
  }
}

void CReportListCtrl::OnPaint() {
  const HWND list = Hwnd();
  if (m_highlightMode != kHighlightRow || !IsReportView() || SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) <= 0) return;
  const RECT rows = ItemRect(list, 0, LVIR_BOUNDS);
  RECT client{};
  GetClientRect(list, &client);
  if (rows.right >= client.right) return;
  // The rows end left of the edge: repaint the strip beside them too, so that a highlight reaching
  // the edge is drawn there in full.
  RECT update{};
  GetUpdateRect(list, &update, FALSE);
  const RECT strip{std::min(rows.right - 1, update.left), update.top, client.right, update.bottom};
  InvalidateRect(list, &strip, FALSE);
}

void CReportListCtrl::OnFocusChange(HWND other) {
  const HWND list = Hwnd();
  if ((other && GetParent(other) == list) || !IsReportView()) return;
  const auto invalidateRow = [list](int row) {
    const RECT bounds = ItemRect(list, row, LVIR_BOUNDS);
    const RECT label = ItemRect(list, row, LVIR_LABEL);
    const RECT rect{label.left, bounds.top, bounds.right, bounds.bottom};
    InvalidateRect(list, &rect, FALSE);
  };
  const int focused = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (focused >= 0) invalidateRow(focused);
  if (!(GetWindowLongPtrW(list, GWL_STYLE) & LVS_SHOWSELALWAYS)) {
    for (int row = -1; (row = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(row),
                                                            LVNI_SELECTED))) >= 0;)
      invalidateRow(row);
  }
  UpdateWindow(list);
}

void CReportListCtrl::OnLeftButtonDown(UINT, POINT point) {
  LVHITTESTINFO hit{};
  hit.pt = point;
  const int row = static_cast<int>(SendMessageW(Hwnd(), LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
  if (row < 0 || !(hit.flags & LVHT_ONITEMSTATEICON)) return;
  LVITEMW item{};
  item.stateMask = LVIS_STATEIMAGEMASK;
  const UINT current = (SendMessageW(Hwnd(), LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12;
  item.state = INDEXTOSTATEIMAGEMASK(current == 1 ? 2 : 1);
  SendMessageW(Hwnd(), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

}  // namespace tfm
