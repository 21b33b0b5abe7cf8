// Windows bound to objects: binding from WM_NCCREATE to WM_NCDESTROY, Attach, the exception barrier of
// every kind of window procedure, and what each message cracker hands its handler.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <stdexcept>
#include <string>

#include "framework/Application.h"
#include "framework/Dialog.h"
#include "framework/FrameWindow.h"
#include "framework/SubclassedWindow.h"
#include "res/resource.h"

namespace fw {
namespace {

constexpr wchar_t kProbeClass[] = L"TfmFrameworkProbe";
constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kIconCallback = WM_APP + 2;
constexpr UINT kBeforeProbe = WM_APP + 3;
constexpr wchar_t kRegisteredName[] = L"TfmFrameworkProbeMessage";
const UINT kRegistered = RegisterWindowMessageW(kRegisteredName);

std::string Point(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }

// Records what each handler receives, as text.
class Probe : public Window {
 public:
  bool Create() {
    WNDCLASSEXW windowClass{};
    windowClass.lpszClassName = kProbeClass;
    return RegisterClassOnce(windowClass) &&
           CreateEx(0, kProbeClass, L"probe", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr);
  }
  LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam) { return SendMessageW(Hwnd(), message, wParam, lParam); }

  std::string log;
  bool gone = false;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnWindowGone() override { gone = true; }
  LRESULT DefaultProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == kBeforeProbe) log += "platform ";
    return Window::DefaultProc(message, wParam, lParam);
  }

 private:
  void Add(const std::string& text) { log += text; }
  void OnNcCreate() { Add(Hwnd() ? "bound " : "unbound "); }
  void OnSize(UINT type, int cx, int cy) { Add("size " + std::to_string(type) + " " + Point({cx, cy})); }
  void OnTimer(UINT_PTR id) { Add("timer " + std::to_string(id)); }
  void OnCommandSeven(UINT code, HWND control) { Add("seven " + std::to_string(code) + (control ? " control" : "")); }
  void OnOtherCommand(UINT id, UINT code, HWND) { Add("command " + std::to_string(id) + " " + std::to_string(code)); }
  LRESULT OnNotify(const NMHDR& header) { return Add("notify " + std::to_string(header.code)), 77; }
  void OnDrawItem(const DRAWITEMSTRUCT& item) { Add("draw " + std::to_string(item.itemID)); }
  void OnContextMenu(HWND clicked, POINT at) { Add((clicked == Hwnd() ? "menu self " : "menu ") + Point(at)); }
  void OnButton(UINT keys, POINT at) { Add("button " + std::to_string(keys) + " " + Point(at)); }
  LRESULT OnIcon(WPARAM w, LPARAM l) { return Add("icon " + std::to_string(w) + " " + std::to_string(l)), 5; }
  bool OnRegistered(WPARAM w, LPARAM l) { return Add("registered " + std::to_string(w + l)), true; }
  void OnBefore() { log += "handler"; }
  void OnThrow() { throw std::runtime_error("handler failed"); }

  static const MessageEntry<Probe> kMap[];
};

const MessageEntry<Probe> Probe::kMap[] = {
    fw::OnMessage<&Probe::OnNcCreate>(WM_NCCREATE, Platform::After),
    fw::OnSize<&Probe::OnSize>(),
    fw::OnTimer<&Probe::OnTimer>(),
    fw::OnCommand<&Probe::OnCommandSeven>(7),
    fw::OnAnyCommand<&Probe::OnOtherCommand>(),
    fw::OnNotify<&Probe::OnNotify>(9),
    fw::OnDrawItem<&Probe::OnDrawItem>(3),
    fw::OnContextMenu<&Probe::OnContextMenu>(),
    fw::OnMouse<&Probe::OnButton>(WM_RBUTTONDOWN),
    fw::OnNotifyIcon<&Probe::OnIcon>(kIconCallback),
    fw::OnRegistered<&Probe::OnRegistered>(kRegisteredName),
    fw::OnMessage<&Probe::OnBefore>(kBeforeProbe, Platform::Before),
    fw::OnMessage<&Probe::OnThrow>(kThrow),
};

bool Probe::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  return Dispatch<Probe>(kMap, message, wParam, lParam, result);
}

// Bound from WM_NCCREATE (or Attach) to WM_NCDESTROY; a window that outlives its object reaches none.
TEST(WindowTest, BoundFromCreationOrAttachUntilTheWindowGoes) {
  Probe probe;
  ASSERT_TRUE(probe.Create());
  EXPECT_EQ("bound ", probe.log);
  EXPECT_TRUE(probe.Create()) << "a registered class is registered again without failing";
  const HWND hwnd = probe.Hwnd();
  Probe other;
  EXPECT_FALSE(other.Attach(hwnd)) << "a bound window takes no second object";
  EXPECT_FALSE(other.Attach(nullptr));
  probe.Destroy();
  EXPECT_TRUE(probe.gone);
  EXPECT_EQ(nullptr, probe.Hwnd());
  EXPECT_FALSE(IsWindow(hwnd));

  const HWND unbound = CreateWindowExW(0, kProbeClass, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(other.Attach(unbound));
  other.Send(WM_TIMER, 4, 0);
  EXPECT_EQ("timer 4", other.log);
  DestroyWindow(unbound);
  EXPECT_TRUE(other.gone);

  HWND outliving = nullptr;
  {
    Probe shortLived;
    ASSERT_TRUE(shortLived.Create());
    outliving = shortLived.Hwnd();
  }
  EXPECT_EQ(0, GetWindowLongPtrA(outliving, GWLP_USERDATA));
  EXPECT_EQ(0, SendMessageA(outliving, WM_TIMER, 1, 0));
  DestroyWindow(outliving);
}

// Each kind of cracker unpacks its message's parameters: negative coordinates stay negative, ids select
// their entry, and the handler's answer becomes the message's result. (The one-cast crackers, such as
// colours, focus, session end and setting change, are exercised by the windows that use them.)
TEST(WindowTest, CrackersHandTheHandlersTypedArguments) {
  Probe probe;
  ASSERT_TRUE(probe.Create());
  const HWND self = probe.Hwnd();
  NMHDR header{self, 9, 1234};
  NMHDR otherControl{self, 10, 1234};
  DRAWITEMSTRUCT draw{};
  draw.itemID = 5;
  struct Case {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    const char* log;
    LRESULT result;
  };
  const Case cases[] = {
      {WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(640, 480), "size 2 640,480", 0},
      {WM_TIMER, 42, 0, "timer 42", 0},
      {WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(self), "seven 0 control", 0},
      {WM_COMMAND, MAKEWPARAM(8, 3), 0, "command 8 3", 0},
      {WM_NOTIFY, 9, reinterpret_cast<LPARAM>(&header), "notify 1234", 77},
      {WM_NOTIFY, 10, reinterpret_cast<LPARAM>(&otherControl), "", 0},
      {WM_DRAWITEM, 3, reinterpret_cast<LPARAM>(&draw), "draw 5", TRUE},
      {WM_CONTEXTMENU, reinterpret_cast<WPARAM>(self), MAKELPARAM(-1, -1), "menu self -1,-1", 0},
      {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(-5, 7), "button 2 -5,7", 0},
      {kIconCallback, 128, WM_LBUTTONDBLCLK, "icon 128 515", 5},
      {kRegistered, 2, 3, "registered 5", TRUE},
      {kBeforeProbe, 0, 0, "platform handler", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.log);
    probe.log.clear();
    EXPECT_EQ(c.result, probe.Send(c.message, c.wParam, c.lParam));
    EXPECT_EQ(c.log, probe.log);
  }
  probe.Destroy();
}

// A dialog page and a subclassed control with the probe's throwing entry.
class ThrowingDialog : public Dialog {
 public:
  ThrowingDialog() : Dialog(IDD_ACTIVITY_MONITOR) {}

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    if (message == kThrow) throw std::runtime_error("dialog handler failed");
    return Dialog::HandleMessage(message, wParam, lParam, result);
  }
};

class ThrowingControl : public SubclassedWindow {
 protected:
  bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT&) override {
    if (message == kThrow) throw std::runtime_error("control handler failed");
    return false;
  }
};

TEST(WindowTest, NothingThrownCrossesAWindowProcedure) {
  Probe probe;
  ASSERT_TRUE(probe.Create());
  ThrowingDialog dialog;
  ASSERT_TRUE(dialog.CreateChild(probe.Hwnd()));
  std::optional<ThrowingControl> control(std::in_place);
  const HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD, 0, 0, 10, 10, probe.Hwnd(), nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
  const auto buttonProc = GetWindowLongPtrA(button, GWLP_WNDPROC);
  ASSERT_TRUE(control->Attach(button));

  for (HWND hwnd : {probe.Hwnd(), dialog.Hwnd(), button}) {
    EXPECT_EQ(0, SendMessageA(hwnd, kThrow, 0, 0));
    EXPECT_TRUE(IsWindow(hwnd));
  }
  probe.log.clear();
  probe.Send(WM_TIMER, 1, 0);
  EXPECT_EQ("timer 1", probe.log) << "the window goes on working after the exception";

  // An object that goes before its control hands the control its own procedure back.
  control.reset();
  EXPECT_EQ(buttonProc, GetWindowLongPtrA(button, GWLP_WNDPROC));
  EXPECT_EQ(0, GetWindowLongPtrA(button, GWLP_USERDATA));
  probe.Destroy();
  EXPECT_EQ(nullptr, dialog.Hwnd()) << "the page went with its parent and was unbound";
}

// As a menu of the frame opens, each command shows the application's check mark; separators are left.
TEST(WindowTest, FrameMenusShowTheApplicationsCheckMarks) {
  struct CheckingApp final : Application {
    bool InitInstance() override { return true; }
    bool IsCommandChecked(UINT id) const override { return id == IDM_CALL_MONITOR; }
  } app;
  FrameWindow frame(app);
  ASSERT_TRUE(frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, L"TfmFrameworkFrame"));
  HMENU menu = GetSubMenu(GetMenu(frame.Hwnd()), 0);
  CheckMenuItem(menu, IDM_ISDN_CHECKER, MF_BYCOMMAND | MF_CHECKED);
  SendMessageA(frame.Hwnd(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  for (UINT position = 0; position < static_cast<UINT>(GetMenuItemCount(menu)); ++position) {
    const UINT id = GetMenuItemID(menu, static_cast<int>(position));
    EXPECT_EQ(id == IDM_CALL_MONITOR, (GetMenuState(menu, position, MF_BYPOSITION) & MF_CHECKED) != 0) << id;
  }
  frame.Destroy();
}

}  // namespace
}  // namespace fw
