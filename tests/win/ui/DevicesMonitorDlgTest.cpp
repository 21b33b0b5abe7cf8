// The Devices Monitor dialog built from its templates and run modally in process: the device pages
// filled from the scripted COMMON-ISDN-API provider (two controllers) and from the modem .reg fixture
// in the real registry, the tab container, the anchors, the theme's colours on screen, and closing.
#include "ui/DevicesMonitorDlgWin32.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "ModemFixtureWin32.h"
#include "capi/CapiLibraryWin32.h"
#include "devices/ModemNodes.h"
#include "devices/RegistryWin32.h"
#include "framework/ColorizedTheme.h"
#include "os/DeviceContext.h"
#include "res/resource.h"

namespace tfm {
namespace {

const char* const kTwoControllers =
    "controllers 2\n"
    "version 2 0 3 7\n"
    // 2 B channels; global options 0x0C; B1 bit 0; B2 bit 12; B3 bits 1 and 7.
    "profile 1 0000 0200 0c000000 01000000 00100000 82000000"
    " 0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000\n"
    // 30 B channels, every mask 0.
    "profile 2 0000 1e00 00000000 00000000 00000000 00000000"
    " 0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000\n";

const TreeNodeList kTwoControllerTree{
    {"CAPI Info", {{"ISDN Controllers : 2", {}}, {"Version : 2.0 (3.7)", {}}}},
    {"Controller 1",
     {{"Global Options", {{"Amount of B Channels: 2", {}}, {"DTMF supported", {}}, {"Handset", {}}}},
      {"B1 Protocol Options", {{"64 KBit/s with HDLC framing", {}}}},
      {"B2 Protocol Options", {{"LAPD accordance with Q.921 including free SAPI selectioin", {}}}},
      {"B3 Protocol Options",
       {{"Modem", {}},
        {"T.90 NL", {}},
        {"T.90NL with compatibility to T.70NL in accordance to T.90 Appendix II", {}}}}}},
    {"Controller 2",
     {{"Global Options", {{"Amount of B Channels: 30", {}}}},
      {"B1 Protocol Options", {}},
      {"B2 Protocol Options", {}},
      {"B3 Protocol Options", {}}}},
};

std::string TempFile(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + name;
}

std::string ScriptedProviderFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.erase(folder.rfind('\\'));
  return folder + "\\..\\..\\..\\tools\\capi-scripted";
}

// Loads the scripted provider with a scenario of the given text.
bool LoadScriptedProvider(const std::string& scenario, CapiEntryPoints& capi) {
  const std::string path = TempFile("tfm-devices-dialog.scenario");
  std::ofstream(path) << scenario;
  SetEnvironmentVariableA("TFM_CAPI_SCENARIO", path.c_str());
  SetDllDirectoryA(ScriptedProviderFolder().c_str());
  const bool loaded = LoadCapiLibrary(capi);
  SetDllDirectoryA(nullptr);
  return loaded;
}

TreeNodeList ReadTree(HWND tree, HTREEITEM parent) {
  TreeNodeList nodes;
  for (auto item = reinterpret_cast<HTREEITEM>(
           SendMessageA(tree, TVM_GETNEXTITEM, parent ? TVGN_CHILD : TVGN_ROOT, reinterpret_cast<LPARAM>(parent)));
       item; item = TreeView_GetNextSibling(tree, item)) {
    char text[256] = "";
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = static_cast<int>(std::size(text));
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&data));
    nodes.push_back({text, ReadTree(tree, item)});
  }
  return nodes;
}

RECT RectIn(HWND window, HWND relativeTo) {
  RECT rect{};
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, relativeTo, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

COLORREF PixelAt(HWND window, int x, int y) { return GetPixel(os::WindowDc(window).get(), x, y); }

// Runs the dialog modally; once it is shown, inspect runs inside its message loop, then the button
// closeId is clicked. Returns DoModal's result.
std::function<void(HWND)> g_inspect;
CDevicesMonitorDlg* g_dialog = nullptr;
int g_closeId = IDOK;

void CALLBACK InspectWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND hwnd = g_dialog->Hwnd();
  // Disabled while a page's message box runs inside the dialog's initialisation.
  if (!hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return;
  KillTimer(nullptr, timer);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  g_inspect(hwnd);
  PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(g_closeId, BN_CLICKED), 0);
}

INT_PTR RunModal(CDevicesMonitorDlg& dialog, std::function<void(HWND)> inspect, int closeId = IDOK) {
  g_inspect = std::move(inspect);
  g_dialog = &dialog;
  g_closeId = closeId;
  SetTimer(nullptr, 0, 50, InspectWhenShown);
  return dialog.DoModal(nullptr);
}

class DevicesMonitorDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_TRUE(s_fixture.Import()); }
  static void TearDownTestSuite() { s_fixture.Remove(); }

  void SetUp() override { ASSERT_TRUE(LoadProvider(kTwoControllers)); }

  // The provider stays loaded until the next one replaces it or the test ends.
  bool LoadProvider(const std::string& scenario) {
    provider.reset();
    const bool loaded = LoadScriptedProvider(scenario, capi);
    provider.reset(static_cast<HMODULE>(capi.library));
    return loaded;
  }

  DevicesMonitorSources Sources() {
    return {capiAvailable, capi, [this](uint32_t c, uint8_t* p) { return capi.CAPI_GET_PROFILE(p, c); }, modems,
            workersRunning};
  }

  static test::ModemFixture s_fixture;
  std::atomic<int32_t> capiAvailable{1};
  std::atomic<int32_t> workersRunning{1};
  CapiEntryPoints capi;
  os::UniqueModule provider;
  RegistryWin32 registry;
  CModemRegistry modems{registry, ReadPlatformIdWin32};
};
test::ModemFixture DevicesMonitorDlgTest::s_fixture;

TEST_F(DevicesMonitorDlgTest, OpensOnTheIsdnTabWithBothDevicePagesFilled) {
  CDevicesMonitorDlg dialog(Sources());
  const INT_PTR result = RunModal(dialog, [&](HWND hwnd) {
    char title[64] = "";
    GetWindowTextA(hwnd, title, sizeof title);
    EXPECT_STREQ("Telvaro Fax Devices Monitor", title);
    EXPECT_TRUE(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongA(hwnd, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_FALSE(IsWindowVisible(dialog.SizeGrip()));

    const fw::TabPageContainer& pages = dialog.Pages();
    ASSERT_EQ(4, pages.PageCount());
    EXPECT_EQ("ISDN Devices", pages.PageTitle(0));
    EXPECT_EQ("Modems", pages.PageTitle(1));
    EXPECT_EQ("Call Monitor", pages.PageTitle(2));
    EXPECT_EQ("Activity Monitor", pages.PageTitle(3));
    EXPECT_EQ(0, pages.SelectedPage());
    EXPECT_TRUE(IsWindowVisible(pages.Page(0)));
    EXPECT_FALSE(IsWindowVisible(pages.Page(1)));
    for (int i = 0; i < 2; ++i) EXPECT_EQ(pages.Hwnd(), GetParent(pages.Page(i)));

    EXPECT_EQ(kTwoControllerTree, ReadTree(GetDlgItem(pages.Page(0), IDC_INFO_TREE), nullptr));
    EXPECT_EQ(BuildModemNodes(CollectModems(modems)), ReadTree(GetDlgItem(pages.Page(1), IDC_INFO_TREE), nullptr));

    // A key on the tab strip moves to the next tab, which shows its page and hides the first.
    SendMessageA(pages.TabStrip(), WM_KEYDOWN, VK_RIGHT, 0);
    EXPECT_EQ(1, pages.SelectedPage());
    EXPECT_TRUE(IsWindowVisible(pages.Page(1)));
    EXPECT_FALSE(IsWindowVisible(pages.Page(0)));
  });
  EXPECT_EQ(IDOK, result);
  EXPECT_EQ(nullptr, dialog.Hwnd());
}

TEST_F(DevicesMonitorDlgTest, AnchoredControlsAndPagesFollowTheDialogSize) {
  CDevicesMonitorDlg dialog(Sources());
  RunModal(dialog, [&](HWND hwnd) {
    const fw::TabPageContainer& pages = dialog.Pages();
    HWND ok = GetDlgItem(hwnd, IDOK);
    HWND tree = GetDlgItem(pages.Page(0), IDC_INFO_TREE);
    const RECT okBefore = RectIn(ok, hwnd);
    const RECT containerBefore = RectIn(pages.Hwnd(), hwnd);
    const RECT treeBefore = RectIn(tree, pages.Page(0));
    RECT window{};
    GetWindowRect(hwnd, &window);
    SetWindowPos(hwnd, nullptr, 0, 0, window.right - window.left + 60, window.bottom - window.top + 40,
                 SWP_NOMOVE | SWP_NOZORDER);

    // OK moves with the lower right corner; the container keeps its origin and grows.
    RECT okExpected = okBefore, containerExpected = containerBefore;
    OffsetRect(&okExpected, 60, 40);
    containerExpected.right += 60;
    containerExpected.bottom += 40;
    const RECT okAfter = RectIn(ok, hwnd), containerAfter = RectIn(pages.Hwnd(), hwnd);
    EXPECT_TRUE(EqualRect(&okExpected, &okAfter));
    EXPECT_TRUE(EqualRect(&containerExpected, &containerAfter));
    // Every page, shown or hidden, fills the container's page area; the page's tree grows with it.
    const RECT area = pages.PageArea();
    for (int i = 0; i < pages.PageCount(); ++i) {
      const RECT page = RectIn(pages.Page(i), pages.Hwnd());
      EXPECT_TRUE(EqualRect(&area, &page)) << "page " << i;
    }
    const RECT treeAfter = RectIn(tree, pages.Page(0));
    EXPECT_EQ(treeBefore.right + 60, treeAfter.right);
    EXPECT_EQ(treeBefore.bottom + 40, treeAfter.bottom);
  });
}

TEST_F(DevicesMonitorDlgTest, ThemeTintsTheDialogItsPagesAndTheTabStrip) {
  CDevicesMonitorDlg dialog(Sources());
  RunModal(dialog, [&](HWND hwnd) {
    const fw::CColorizedTheme* theme = &dialog.Theme();
    EXPECT_NE(GetSysColor(COLOR_BTNFACE), theme->Color(fw::ThemeColor::DialogFace));

    // The free band between the banner and the OK button shows the dialog's face.
    RECT band{150, 172, 151, 173};
    MapDialogRect(hwnd, &band);
    EXPECT_EQ(theme->Color(fw::ThemeColor::DialogFace), PixelAt(hwnd, band.left, band.top));

    const fw::TabPageContainer& pages = dialog.Pages();
    RECT page{};
    GetClientRect(pages.Page(0), &page);
    EXPECT_EQ(theme->Color(fw::ThemeColor::PageFace), PixelAt(pages.Page(0), page.right - 2, page.bottom - 2));

    // Right of the last tab, above the page area: the strip's own band.
    RECT strip{};
    GetClientRect(pages.TabStrip(), &strip);
    EXPECT_EQ(theme->Color(fw::ThemeColor::TabStrip), PixelAt(pages.TabStrip(), strip.right - 3, 2));
    // The selected tab is marked with the second tint.
    RECT tab{};
    TabCtrl_GetItemRect(pages.TabStrip(), 0, &tab);
    EXPECT_EQ(theme->Color(fw::ThemeColor::Accent), PixelAt(pages.TabStrip(), (tab.left + tab.right) / 2, tab.top));
  });
}

// A visible window of this process with a child control showing the text.
struct BoxSearch {
  const char* text;
  HWND found;
};

BOOL CALLBACK ChildShowsText(HWND child, LPARAM context) {
  char shown[64] = "";
  GetWindowTextA(child, shown, sizeof shown);
  return std::string(shown) == reinterpret_cast<BoxSearch*>(context)->text ? FALSE : TRUE;
}

BOOL CALLBACK FindBoxShowing(HWND hwnd, LPARAM context) {
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != GetCurrentProcessId() || !IsWindowVisible(hwnd)) return TRUE;
  if (EnumChildWindows(hwnd, ChildShowsText, context)) return TRUE;  // enumerated all: no such child
  reinterpret_cast<BoxSearch*>(context)->found = hwnd;
  return FALSE;
}

// Waits for a message box showing text and presses its OK button.
bool AnswerMessageBox(const char* text, DWORD timeoutMs) {
  BoxSearch search{text, nullptr};
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!search.found && std::chrono::steady_clock::now() < deadline) {
    EnumWindows(FindBoxShowing, reinterpret_cast<LPARAM>(&search));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  if (search.found) PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return search.found != nullptr;
}

TEST_F(DevicesMonitorDlgTest, DriverGoneSinceStartUpSaysSoAndLeavesTheTreeEmpty) {
  ASSERT_TRUE(LoadProvider("installed 0x1009\ncontrollers 1\n"));
  std::atomic<bool> answered{false};
  std::thread watcher([&] { answered = AnswerMessageBox("No CAPI Installed.", 20000); });
  CDevicesMonitorDlg dialog(Sources());
  RunModal(dialog, [&](HWND) {
    EXPECT_EQ(4, dialog.Pages().PageCount());
    EXPECT_TRUE(ReadTree(GetDlgItem(dialog.Pages().Page(0), IDC_INFO_TREE), nullptr).empty());
    EXPECT_EQ(2u, ReadTree(GetDlgItem(dialog.Pages().Page(1), IDC_INFO_TREE), nullptr).size());
  });
  watcher.join();
  EXPECT_TRUE(answered);
}

TEST_F(DevicesMonitorDlgTest, NoDriverAtStartUpLeavesTheTreeEmptyWithoutAMessage) {
  capiAvailable = 0;
  CDevicesMonitorDlg dialog(Sources());
  RunModal(dialog, [&](HWND) {
    EXPECT_TRUE(ReadTree(GetDlgItem(dialog.Pages().Page(0), IDC_INFO_TREE), nullptr).empty());
  });
}

}  // namespace
}  // namespace tfm
