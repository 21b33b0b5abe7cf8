#pragma once
// The shape both device pages share: a themed group box around a tree view (control 1083) whose
// nodes come from a TreeNodeList, filled once when the page is created.
#include "devices/TreeNode.h"
#include "framework/ResizableDialog.h"
#include "framework/ThemedGroupBox.h"

namespace tfm {

class CInfoTreePage : public fw::ResizableDialog {
 public:
  static constexpr int kTreeId = 1083;

  HWND Tree() const { return Item(kTreeId); }

 protected:
  CInfoTreePage(UINT templateId, int groupId, const char* traceName);

  // Runs the resizable base, turns its grip off, themes the group box and tree, then fills.
  bool OnInitDialog() final;
  // Fills the tree; its result is the result of the initialisation.
  virtual bool FillTree() = 0;
  void RenderNodes(const TreeNodeList& nodes);

 private:
  fw::ThemedGroupBox m_group;
  int m_groupId;
  const char* m_traceName;
};

}  // namespace tfm
