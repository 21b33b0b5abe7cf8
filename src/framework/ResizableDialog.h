#pragma once
// A dialog whose controls follow its size: each anchored control keeps the distance of its corners
// to points of the client area given in percent of its width and height (0,0 top left, 100,100
// bottom right). A size grip sits in the bottom-right corner unless the dialog turns it off. A
// top-level one with a sizing border cannot be made smaller than its template.
#include <vector>

#include "framework/Dialog.h"

namespace fw {

struct Anchor {
  int xPercent = 0;
  int yPercent = 0;
};
inline constexpr Anchor kTopLeft{0, 0};
inline constexpr Anchor kBottomRight{100, 100};
inline constexpr Anchor kBottomLeft{0, 100};

class ResizableDialog : public Dialog {
 public:
  using Dialog::Dialog;

  // Anchors a control's top-left and bottom-right corners; the distances are taken from where the
  // control is now. An unknown control id, or a window that is not a child, is ignored.
  void AddAnchor(int controlId, Anchor topLeft, Anchor bottomRight) { AddAnchor(Item(controlId), topLeft, bottomRight); }
  void AddAnchor(int controlId, Anchor both) { AddAnchor(controlId, both, both); }
  void AddAnchor(HWND control, Anchor topLeft, Anchor bottomRight);
  void ShowSizeGrip(bool show);
  HWND SizeGrip() const { return m_grip; }
  // Moves every anchored control (and the grip) to fit the current client area.
  void ArrangeLayout();
  // The anchors' distances and the smallest size were taken at the window's DPI: at another DPI (the
  // dialog moved to another monitor) they scale with it, as the template's controls do.
  void RescaleLayout(UINT dpi);

 protected:
  // Creates the size grip and takes the template's size as the smallest; derived dialogs call this
  // first from their own OnInitDialog.
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
  void OnGetMinMaxInfo(MINMAXINFO& limits) const;
  // A page inside another dialog hears of a new DPI from its parent.
  void OnParentDpiChanged(UINT dpi) { RescaleLayout(dpi); }

  static const MessageEntry<ResizableDialog> kMessageMap[];

  std::vector<Anchored> m_anchors;
  HWND m_grip = nullptr;
  SIZE m_minimumSize{0, 0};  // the window's size as created from the template
  UINT m_dpi = 0;            // the DPI that the distances and the smallest size are for
};

}  // namespace fw
