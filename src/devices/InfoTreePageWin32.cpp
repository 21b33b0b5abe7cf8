#include "devices/InfoTreePageWin32.h"

#include <commctrl.h>

#include "common/Trace.h"
#include "framework/ColorizedTheme.h"
#include "os/Text.h"

namespace tfm {
namespace {

// Each node becomes the last child of its parent, text only: no image, state or item data.
void InsertNode(HWND tree, HTREEITEM parent, const TreeNode& node) {
  std::wstring text = os::Wide(node.text);
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT;
  insert.item.pszText = text.data();
  const auto item =
      reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  if (!item) return;
  for (const TreeNode& child : node.children) InsertNode(tree, item, child);
}

}  // namespace

CInfoTreePage::CInfoTreePage(UINT templateId, int groupId, const char* traceName, const char* emptyText,
                             const fw::CColorizedTheme* theme)
    : fw::ResizableDialog(templateId, theme),
      m_group(theme),
      m_groupId(groupId),
      m_traceName(traceName),
      m_emptyText(emptyText) {}

bool CInfoTreePage::OnInitDialog() {
  fw::ResizableDialog::OnInitDialog();
  ShowSizeGrip(false);
  m_group.Attach(Item(m_groupId));
  // The frame and tree grow with the page, so they fill whatever area the tab container gives it.
  AddAnchor(m_groupId, fw::kTopLeft, fw::kBottomRight);
  AddAnchor(IDC_INFO_TREE, fw::kTopLeft, fw::kBottomRight);
  HWND tree = Tree();
  ApplyTreeColours();
  m_emptyNote.Create(*this, IDC_INFO_TREE, m_emptyText);
  const bool result = FillTree();
  m_emptyNote.Show(TreeView_GetCount(tree) == 0);
  return result;
}

// The dialog passes a change of the system's colours on to its pages (after the theme has followed it).
const fw::MessageEntry<CInfoTreePage> CInfoTreePage::kMessageMap[] = {
    fw::OnMessage<&CInfoTreePage::ApplyTreeColours>(WM_SYSCOLORCHANGE, fw::Platform::After),
};

bool CInfoTreePage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<CInfoTreePage>(kMessageMap, message, wParam, lParam, result) ||
         fw::ResizableDialog::HandleMessage(message, wParam, lParam, result);
}

void CInfoTreePage::ApplyTreeColours() {
  const HWND tree = Tree();
  const fw::CColorizedTheme* theme = Theme() && !Theme()->HighContrast() ? Theme() : nullptr;
  constexpr auto kSystemColour = static_cast<COLORREF>(-1);  // the tree's own, from the system
  TreeView_SetBkColor(tree, theme ? theme->Color(fw::ThemeColor::ListBackground) : kSystemColour);
  TreeView_SetTextColor(tree, theme ? theme->Color(fw::ThemeColor::Text) : kSystemColour);
  TreeView_SetLineColor(tree, theme ? theme->Color(fw::ThemeColor::Accent) : CLR_DEFAULT);
}

void CInfoTreePage::RenderNodes(const TreeNodeList& nodes) {
  HWND tree = Tree();
  SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
  for (const TreeNode& node : nodes) InsertNode(tree, TVI_ROOT, node);
  SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(tree, nullptr, TRUE);
  TraceF("%s page: %u nodes", m_traceName, static_cast<unsigned>(TreeView_GetCount(tree)));
}

}  // namespace tfm
