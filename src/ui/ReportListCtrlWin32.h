#pragma once
// CReportListCtrl: a report-view list control that draws its rows itself, so that a selected row can
// be highlighted across all its columns or up to the right edge of the client area. The platform's
// list keeps the rows, cells, states, columns and image lists; this object is attached to an existing
// list window (subclassed) and adds the drawing, the focus repaint and the state-icon toggle. The texts
// it draws are the list's: for a list of owner data (LVS_OWNERDATA) its owner answers for each cell.
// Sorting is the owner's business too; the list shows the arrow in the header.
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <span>
#include <vector>

#include "framework/SubclassedWindow.h"
#include "os/Owned.h"

namespace tfm {

class CReportListCtrl : public fw::SubclassedWindow {
 public:
  enum HighlightMode : int32_t {
    kHighlightLabel = 0,  // the first column's label only
    kHighlightColumns = 1,  // every column of the row
    kHighlightRow = 2,  // the whole row up to the client area's right edge
  };

  // Subclasses an existing list window; the binding ends when the window goes.
  bool Attach(HWND list);

  // Returns the previous mode. Modes outside 0..2 change nothing and return the current mode. Modes 1
  // and 2 switch the list to owner-drawn rows of fixed height, which mode 0 does not switch off again.
  int32_t SetHighlightMode(int32_t mode);
  int32_t GetHighlightMode() const { return m_highlightMode; }

  // Inserts a column; a subItem of -1 stands for index. mask says which of format, width, title and
  // subItem are given (LVCF_*). Returns the new column's index, or -1.
  int InsertColumn(const char* title, int index, int width, int format, int subItem, UINT mask);
  // subItem 0 inserts a new row at position row and returns its index (-1 on failure); any other
  // subItem sets that cell's text and returns non-zero on success. image -1 leaves the image unset.
  int SetItem(int row, int subItem, const char* text, int image);

  // Shows the sort arrow on column (up when ascending) and takes it off every other column; a column
  // of -1 shows none.
  void SetSortArrow(int column, bool ascending);
  // Shares the client width out over the columns in these proportions, now and whenever the list's
  // size or DPI changes: the columns fill the list at every scale, with no horizontal scroll bar.
  void FitColumns(std::span<const int32_t> shares);
  UINT Dpi() const { return m_dpi; }

  // Draws one row; the owner page hands the platform's owner-draw requests for this list here.
  void DrawItem(const DRAWITEMSTRUCT& request);

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // Where the parts of one row go; the first column's text decides the label highlight's width.
  struct RowLayout {
    RECT bounds{};
    RECT label{};
    RECT icon{};
    RECT highlight{};
    int firstWidth = 0;
    int gap = 0;  // between a cell's edge and its text
    const wchar_t* firstText = L"";  // the caller's copy of the first cell's text
  };
  bool IsHighlighted(UINT state) const;
  RowLayout LayOutRow(HDC dc, int row, const wchar_t* firstText) const;
  static void PaintHighlight(HDC dc, const RECT& highlight, bool highlighted);
  void DrawFirstColumn(HDC dc, const LVITEMW& item, const RowLayout& layout, bool highlighted) const;
  void DrawOtherColumns(HDC dc, int row, const RowLayout& layout) const;

  bool IsReportView() const;
  void OnPaint();
  LRESULT OnSetFocus(HWND previous);
  LRESULT OnKillFocus(HWND next);
  void OnFocusChange(HWND other);
  void OnLeftButtonDown(UINT keys, POINT point);
  void OnSize(UINT type, int cx, int cy);
  void OnDpiChanged(UINT dpi);
  void ApplyColumnWidths();
  // Rows are as tall as a small icon at the DPI (or the font, if taller): an image list of that height
  // and one pixel's width sets it; it holds no image, so nothing is drawn from it.
  void ApplyRowHeight();

  static const fw::MessageEntry<CReportListCtrl> kMessageMap[];
  int32_t m_highlightMode = kHighlightLabel;
  // Tracked from the focus messages: during WM_KILLFOCUS the platform still reports this window as
  // focused, and the repaint made there must already draw the row without its highlight.
  bool m_hasFocus = false;
  UINT m_dpi = 96;
  std::vector<int32_t> m_columnShares;
};

}  // namespace tfm
