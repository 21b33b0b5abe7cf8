#pragma once
// A dialog whose controls follow its size: each anchored control keeps the distance of its corners
// to points of the client area given in percent of its width and height (0,0 top left, 100,100
// bottom right). A size grip sits in the bottom-right corner unless the dialog turns it off.
#include <vector>

#include "framework/Dialog.h"

namespace fw {

struct Anchor {
  int xPercent = 0;
  int yPercent = 0;
};
inline constexpr Anchor kTopLeft{0, 0};
inline constexpr Anchor kBottomRight{100, 100};

class ResizableDialog : public Dialog {
 public:
  using Dialog::Dialog;

  // Anchors a control's top-left and bottom-right corners; the distances are taken from where the
  // control is now. An unknown control id is ignored.
  void AddAnchor(int controlId, Anchor topLeft, Anchor bottomRight);
  void AddAnchor(int controlId, Anchor both) { AddAnchor(controlId, both, both); }
  void ShowSizeGrip(bool show);
  HWND SizeGrip() const { return m_grip; }
  // Moves every anchored control (and the grip) to fit the current client area.
  void ArrangeLayout();

 protected:
  // Creates the size grip; derived dialogs call this first from their own OnInitDialog.
  bool OnInitDialog() override;
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  struct Anchored {
    HWND control;
    Anchor topLeft;
    Anchor bottomRight;
    RECT margins;  // corner minus anchor point, at the time the anchor was added
  };
  static POINT AnchorPoint(const RECT& client, Anchor anchor);
  void OnSize(UINT type, int cx, int cy);

  static const MessageEntry<ResizableDialog> kMessageMap[];

  std::vector<Anchored> m_anchors;
  HWND m_grip = nullptr;
};

}  // namespace fw
