// Anchors of the resizable dialog: each anchored control keeps the distance of its corners to points
// given in percent of the client area, and an anchor of 50 % follows half of the growth.
#include <gtest/gtest.h>
#include <windows.h>

#include "WindowPump.h"
#include "framework/ResizableDialog.h"
#include "framework/TabPageContainer.h"
#include "res/resource.h"

namespace fw {
namespace {

struct AnchorCase {
  int controlId;
  Anchor topLeft;
  Anchor bottomRight;
  RECT change;  // of the control's rectangle when the client area grows by 60 x 40
};

// The Devices Monitor's template: OK, Cancel, the page container and the banner.
const AnchorCase kCases[] = {
    {IDOK, {50, 100}, {50, 100}, {30, 40, 30, 40}},
    {IDCANCEL, kBottomRight, kBottomRight, {60, 40, 60, 40}},
    {IDC_DEVICES_TABS, kTopLeft, {100, 50}, {0, 0, 60, 20}},
    {IDC_DEVICES_BANNER, kTopLeft, kTopLeft, {0, 0, 0, 0}},
};

class AnchoredDialog : public ResizableDialog {
 public:
  AnchoredDialog() : ResizableDialog(IDD_DEVICES_MONITOR) {}

 protected:
  bool OnInitDialog() override {
    ResizableDialog::OnInitDialog();
    for (const AnchorCase& c : kCases) AddAnchor(c.controlId, c.topLeft, c.bottomRight);
    AddAnchor(4711, kBottomRight);  // no such control: ignored
    return true;
  }
};

RECT Client(HWND hwnd) {
  RECT client{};
  GetClientRect(hwnd, &client);
  return client;
}

TEST(ResizableDialogTest, AnchoredControlsAndTheGripFollowTheClientArea) {
  ASSERT_TRUE(TabPageContainer::RegisterWindowClass());
  AnchoredDialog dialog;
  ASSERT_TRUE(dialog.CreateChild(nullptr));
  const HWND hwnd = dialog.Hwnd();
  RECT before[std::size(kCases)];
  for (size_t i = 0; i < std::size(kCases); ++i) before[i] = tfm::test::RectIn(GetDlgItem(hwnd, kCases[i].controlId), hwnd);

  RECT window{};
  GetWindowRect(hwnd, &window);
  SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left + 60, window.bottom - window.top + 40,
               SWP_NOMOVE | SWP_NOZORDER);

  for (size_t i = 0; i < std::size(kCases); ++i) {
    SCOPED_TRACE(kCases[i].controlId);
    const RECT after = tfm::test::RectIn(GetDlgItem(hwnd, kCases[i].controlId), hwnd);
    const RECT& change = kCases[i].change;
    EXPECT_EQ(before[i].left + change.left, after.left);
    EXPECT_EQ(before[i].top + change.top, after.top);
    EXPECT_EQ(before[i].right + change.right, after.right);
    EXPECT_EQ(before[i].bottom + change.bottom, after.bottom);
  }
  const RECT grip = tfm::test::RectIn(dialog.SizeGrip(), hwnd);
  EXPECT_EQ(Client(hwnd).right, grip.right);
  EXPECT_EQ(Client(hwnd).bottom, grip.bottom);
  dialog.EndDialog(IDOK);
  EXPECT_EQ(nullptr, dialog.Hwnd());
}

}  // namespace
}  // namespace fw
