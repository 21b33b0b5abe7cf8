#pragma once
// The shape both device pages share: a themed group box around a tree view (IDC_INFO_TREE) whose
// nodes come from a TreeNodeList, filled once when the page is created. An empty tree gives way to
// a note that says why.
#include "devices/TreeNode.h"
#include "framework/EmptyNote.h"
#include "framework/ResizableDialog.h"
#include "framework/ThemedGroupBox.h"
#include "res/resource.h"

namespace tfm {

class CInfoTreePage : public fw::ResizableDialog {
 public:
  HWND Tree() const { return Item(IDC_INFO_TREE); }

 protected:
  // emptyText: shown instead of an empty tree. theme: the colours of the dialog that holds the page;
  // null for the system's.
  CInfoTreePage(UINT templateId, int groupId, const char* traceName, const char* emptyText,
                const fw::CColorizedTheme* theme);

  // Runs the resizable base, turns its grip off, themes the group box and tree, then fills; the note
  // shows when the tree stays empty.
  bool OnInitDialog() final;
  // Fills the tree; its result is the result of the initialisation.
  virtual bool FillTree() = 0;
  void RenderNodes(const TreeNodeList& nodes);
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  // The theme's colours for the tree, or the system's own under high contrast or without a theme.
  void ApplyTreeColours();

  static const fw::MessageEntry<CInfoTreePage> kMessageMap[];
  fw::ThemedGroupBox m_group;
  fw::EmptyNote m_emptyNote;
  int m_groupId;
  const char* m_traceName;
  const char* m_emptyText;
};

}  // namespace tfm
