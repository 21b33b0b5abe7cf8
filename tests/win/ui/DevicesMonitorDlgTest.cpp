// The Devices Monitor dialog built from its templates and run modally in process: the theme's colours
// on screen, the pages following the container and the template's size as the smallest, the tab it
// opens on, the keyboard's order, the focus and its cue when the tab keys switch, and the missing
// driver's message.
// (The pages' contents and empty notes, the commands, the keys as typed and closing are end-to-end
// scenarios of the real exe.)
#include "ui/DevicesMonitorDlgWin32.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "Accessibility.h"
#include "ProviderFolder.h"
#include "WindowPump.h"
#include "capi/CapiLibraryWin32.h"
#include "devices/RegistryWin32.h"
#include "framework/ColorizedTheme.h"
#include "framework/Dpi.h"
#include "os/DeviceContext.h"
#include "os/Owned.h"
#include "os/Version.h"
#include "res/resource.h"

namespace tfm {
namespace {

COLORREF PixelAt(HWND window, int x, int y) { return GetPixel(os::WindowDc(window).get(), x, y); }

SIZE SizeOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return {r.right - r.left, r.bottom - r.top};
}

// What the modal loop does with a message: the dialog manager's translation, which offers it to the
// dialog first.
void PumpAsTheDialogLoop(HWND dialog) {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (IsDialogMessageA(dialog, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

// The modal run in progress: what to inspect once the dialog is shown, and the texts of the message
// boxes answered on the way.
struct ModalRun {
  CDevicesMonitorDlg* dialog = nullptr;
  std::function<void(HWND)> inspect;
  std::vector<std::string> answeredBoxes;
};
ModalRun g_run;

BOOL CALLBACK CollectText(HWND child, LPARAM texts) {
  char text[128] = "";
  if (GetWindowTextA(child, text, sizeof text) > 0) reinterpret_cast<std::string*>(texts)->append(text).append("|");
  return TRUE;
}

// A message box of this thread: its texts are noted and its OK button pressed.
BOOL CALLBACK AnswerMessageBox(HWND hwnd, LPARAM) {
  if (hwnd == g_run.dialog->Hwnd() || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return TRUE;
  std::string texts;
  EnumChildWindows(hwnd, CollectText, reinterpret_cast<LPARAM>(&texts));
  g_run.answeredBoxes.push_back(texts);
  PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return FALSE;
}

// A thread timer fires inside every modal loop of the thread, so it reaches a message box that a page
// shows during the dialog's initialisation as well as the dialog's own loop.
void CALLBACK InspectWhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND hwnd = g_run.dialog->Hwnd();
  if (!hwnd || !IsWindowEnabled(hwnd)) {
    EnumThreadWindows(GetCurrentThreadId(), AnswerMessageBox, 0);
    return;
  }
  if (!IsWindowVisible(hwnd)) return;
  KillTimer(nullptr, timer);
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  g_run.inspect(hwnd);
  PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

// Runs the dialog modally; once it is shown, inspect runs inside its message loop, then OK is clicked.
INT_PTR RunModal(CDevicesMonitorDlg& dialog, std::function<void(HWND)> inspect) {
  g_run = {&dialog, std::move(inspect), {}};
  SetTimer(nullptr, 0, 50, InspectWhenShown);
  return dialog.DoModal(nullptr);
}

class DevicesMonitorDlgTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(LoadScriptedProvider("controllers 2\n")); }

  // Loads the scripted provider with a scenario of the given text, which it reads at its first call.
  bool LoadScriptedProvider(const std::string& text) {
    scenario.emplace("tfm-devices-dialog.scenario", text);
    SetEnvironmentVariableA("TFM_CAPI_SCENARIO", scenario->Path().c_str());
    const test::ProviderSearchPath provider("capi-scripted");
    return capi.Load();
  }

  DevicesMonitorSources Sources() {
    const CapiEntryPoints& table = capi.EntryPoints();
    return {capiAvailable, table, [&table](uint32_t c, uint8_t* p) { return table.CAPI_GET_PROFILE(p, c); }, modems,
            workersRunning, activity, callFeed};
  }

  std::atomic<int32_t> capiAvailable{1};
  std::atomic<int32_t> workersRunning{1};
  CallActivity activity;
  CallFeed callFeed;
  std::optional<test::TempFile> scenario;
  CapiLibrary capi;
  RegistryWin32 registry;
  CModemRegistry modems{registry, os::ReadOsVersionInfo().platformId};
};

// One run of the dialog: the theme's colours on screen, every page, shown or hidden, following the
// container's page area when the dialog grows (the dialog's own anchors are the framework suite's), the
// system's message font, and a move to a monitor of 1.5 times the DPI.
TEST_F(DevicesMonitorDlgTest, IsThemedAndItsPagesFollowTheSizeAndTheDpi) {
  CDevicesMonitorDlg dialog(Sources(), DevicesMonitorTab::IsdnDevices);
  RunModal(dialog, [&](HWND hwnd) {
    const fw::CColorizedTheme& theme = dialog.Theme();
    const fw::TabPageContainer& pages = dialog.Pages();
    // The free band between the banner and the OK button shows the dialog's face.
    RECT band{150, 172, 151, 173};
    MapDialogRect(hwnd, &band);
    EXPECT_EQ(theme.Color(fw::ThemeColor::DialogFace), PixelAt(hwnd, band.left, band.top));
    RECT page{};
    GetClientRect(pages.Page(0), &page);
    EXPECT_EQ(theme.Color(fw::ThemeColor::PageFace), PixelAt(pages.Page(0), page.right - 2, page.bottom - 2));
    // Right of the last tab, above the page area: the strip's own band; the selected tab has the accent.
    RECT strip{}, tab{};
    GetClientRect(pages.TabStrip(), &strip);
    EXPECT_EQ(theme.Color(fw::ThemeColor::TabStrip), PixelAt(pages.TabStrip(), strip.right - 3, 2));
    TabCtrl_GetItemRect(pages.TabStrip(), 0, &tab);
    EXPECT_EQ(theme.Color(fw::ThemeColor::Accent), PixelAt(pages.TabStrip(), (tab.left + tab.right) / 2, tab.top));

    HWND tree = GetDlgItem(pages.Page(0), IDC_INFO_TREE);
    const RECT treeBefore = test::RectIn(tree, pages.Page(0));
    const HWND chart = FindWindowExA(pages.Page(3), nullptr, "TfmStripChart", nullptr);
    const RECT chartBefore = test::RectIn(chart, pages.Page(3));
    const SIZE smallest = SizeOf(hwnd);
    SetWindowPos(hwnd, nullptr, 0, 0, smallest.cx + 60, smallest.cy + 40, SWP_NOMOVE | SWP_NOZORDER);
    const RECT area = pages.PageArea();
    for (int i = 0; i < pages.PageCount(); ++i) {
      const RECT shown = test::RectIn(pages.Page(i), pages.Hwnd());
      EXPECT_TRUE(EqualRect(&area, &shown)) << "page " << i;
    }
    const RECT treeAfter = test::RectIn(tree, pages.Page(0));
    EXPECT_EQ(treeBefore.right + 60, treeAfter.right);
    EXPECT_EQ(treeBefore.bottom + 40, treeAfter.bottom);
    const RECT chartAfter = test::RectIn(chart, pages.Page(3));
    EXPECT_EQ(chartBefore.right + 60, chartAfter.right);
    EXPECT_EQ(chartBefore.bottom + 40, chartAfter.bottom);

    SetWindowPos(hwnd, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(smallest.cx, SizeOf(hwnd).cx) << "the template's size is the smallest";
    EXPECT_EQ(smallest.cy, SizeOf(hwnd).cy);

    // The suggested rectangle is taken, and the call list's rows and columns follow the new DPI.
    const HWND list = GetDlgItem(pages.Page(2), IDC_CALL_LIST);
    const UINT dpi = fw::WindowDpi(hwnd) * 3 / 2;
    RECT window{};
    GetWindowRect(hwnd, &window);
    RECT suggested{window.left, window.top, window.left + (window.right - window.left) * 3 / 2,
                   window.top + (window.bottom - window.top) * 3 / 2};
    const auto okGap = [&] {  // OK's distance to the right edge, kept by its anchor
      RECT client{};
      GetClientRect(hwnd, &client);
      return client.right - test::RectIn(GetDlgItem(hwnd, IDOK), hwnd).right;
    };
    const int gapBefore = okGap();
    // Every window of the dialog writes in the system's message font, at the user's size.
    const auto fontOf = [](HWND control) {
      LOGFONTW font{};
      GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
      return font;
    };
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    for (const HWND control : {GetDlgItem(hwnd, IDOK), pages.TabStrip(), tree, list}) {
      EXPECT_STREQ(metrics.lfMessageFont.lfFaceName, fontOf(control).lfFaceName);
      EXPECT_EQ(metrics.lfMessageFont.lfHeight, fontOf(control).lfHeight);
    }
    SendMessageA(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_NEAR(metrics.lfMessageFont.lfHeight * 3 / 2, fontOf(GetDlgItem(hwnd, IDOK)).lfHeight, 1);
    EXPECT_NEAR(metrics.lfMessageFont.lfHeight * 3 / 2, fontOf(tree).lfHeight, 1);
    RECT moved{};
    GetWindowRect(hwnd, &moved);
    EXPECT_TRUE(EqualRect(&suggested, &moved));
    EXPECT_NEAR(gapBefore * 3 / 2, okGap(), 1) << "the anchors' distances scale with the DPI";
    ICONINFO caption{};  // the caption's icon is the image drawn for the small size at that DPI
    ASSERT_TRUE(GetIconInfo(reinterpret_cast<HICON>(SendMessageA(hwnd, WM_GETICON, ICON_SMALL, 0)), &caption));
    const os::UniqueBitmap colour(caption.hbmColor), mask(caption.hbmMask);
    BITMAP image{};
    GetObjectA(colour.get(), sizeof image, &image);
    EXPECT_EQ(fw::SystemMetricForDpi(SM_CXSMICON, dpi), image.bmWidth);
    int rowWidth = 0, rowHeight = 0;
    ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_SMALL), &rowWidth, &rowHeight);
    EXPECT_EQ(fw::SystemMetricForDpi(SM_CYSMICON, dpi), rowHeight);
    EXPECT_GT(rowHeight, GetSystemMetrics(SM_CYSMICON));
    RECT client{};
    GetClientRect(list, &client);
    int columns = 0;
    for (int i = 0; i < kCallColumnCount; ++i) columns += ListView_GetColumnWidth(list, i);
    EXPECT_EQ(client.right, columns);
    EXPECT_EQ(0, GetWindowLongA(list, GWL_STYLE) & WS_HSCROLL);
  });
}

// Posts a key press to the focus through the modal loop's translation, with the modifier keys held.
void PressKey(HWND dialog, WPARAM key, std::initializer_list<int> held = {}) {
  BYTE keys[256]{};
  GetKeyboardState(keys);
  for (const int modifier : held) keys[modifier] = 0x80;
  SetKeyboardState(keys);
  PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
  PumpAsTheDialogLoop(dialog);
  for (const int modifier : held) keys[modifier] = 0;
  SetKeyboardState(keys);
}

// The dialog opens on the tab it is given with the focus on the tab strip, and ShowTab switches. Tab
// walks the strip, the page, OK and Cancel; Enter in a tree leaves the dialog open.
// The tab keys switch wherever the focus is; a focus left on the hidden page follows to the new one.
// The strip shows the focus.
TEST_F(DevicesMonitorDlgTest, OpensOnItsTabAndTheKeyboardWalksItInOrder) {
  CDevicesMonitorDlg dialog(Sources(), DevicesMonitorTab::CallMonitor);
  RunModal(dialog, [&](HWND hwnd) {
    fw::TabPageContainer& pages = dialog.Pages();
    const HWND strip = pages.TabStrip();
    EXPECT_EQ(strip, GetFocus());
    EXPECT_EQ(2, pages.SelectedPage());
    dialog.ShowTab(DevicesMonitorTab::IsdnDevices);
    EXPECT_EQ(0, pages.SelectedPage());

    const HWND tree = GetDlgItem(pages.Page(0), IDC_INFO_TREE);
    SetFocus(strip);
    std::vector<HWND> walked;
    for (int i = 0; i < 4; ++i) {
      PressKey(hwnd, VK_TAB);
      walked.push_back(GetFocus());
    }
    EXPECT_EQ((std::vector<HWND>{tree, GetDlgItem(hwnd, IDOK), GetDlgItem(hwnd, IDCANCEL), strip}), walked);
    PressKey(hwnd, VK_TAB, {VK_SHIFT});
    EXPECT_EQ(GetDlgItem(hwnd, IDCANCEL), GetFocus());
    SetFocus(tree);
    PressKey(hwnd, VK_RETURN);
    EXPECT_TRUE(IsWindowVisible(hwnd)) << "Enter in the tree closed the dialog";

    RECT tab{};
    TabCtrl_GetItemRect(strip, 0, &tab);
    const auto leftEdge = [&] {
      UpdateWindow(strip);
      std::vector<COLORREF> column;
      for (int y = tab.top + 4; y < tab.bottom - 2; ++y) column.push_back(PixelAt(strip, tab.left + 1, y));
      return column;
    };
    SetFocus(strip);
    SendMessageA(hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    const std::vector<COLORREF> focused = leftEdge();
    SetFocus(tree);
    EXPECT_NE(focused, leftEdge()) << "no focus cue on the selected tab";

    PressKey(hwnd, VK_NEXT, {VK_CONTROL});
    EXPECT_EQ(1, pages.SelectedPage());
    // The modem tree when the prefix has modems; without any, the tree gives way to its note.
    const HWND modemTree = GetDlgItem(pages.Page(1), IDC_INFO_TREE);
    EXPECT_EQ(IsWindowVisible(modemTree) ? modemTree : strip, GetFocus());
  });
}

// A screen reader finds the lists, the trees, the search box, the call count and the chart by name, and
// the chart's value. A
// high-contrast theme switched on while the dialog runs gives every colour to the system at once, and
// the tints come back when it goes.
TEST_F(DevicesMonitorDlgTest, ScreenReadersFindEveryControlAndHighContrastIsFollowed) {
  CDevicesMonitorDlg dialog(Sources(), DevicesMonitorTab::IsdnDevices);
  RunModal(dialog, [&](HWND hwnd) {
    const fw::TabPageContainer& pages = dialog.Pages();
    const HWND tree = GetDlgItem(pages.Page(0), IDC_INFO_TREE);
    const HWND chart = FindWindowExA(pages.Page(3), nullptr, "TfmStripChart", nullptr);
    const struct {
      HWND window;
      const char* name;
    } named[] = {{tree, "ISDN controllers"},
                 {GetDlgItem(pages.Page(1), IDC_INFO_TREE), "Modems"},
                 {GetDlgItem(pages.Page(2), IDC_CALL_SEARCH), "Search calls"},
                 {GetDlgItem(pages.Page(2), IDC_CALL_LIST), "Calls"},
                 {GetDlgItem(pages.Page(2), IDC_CALL_COUNT), "0 calls"},  // no log beside the test
                 {chart, "Calls in progress"}};
    for (const auto& control : named) {
      const test::AccessibleReading reading = test::ReadAccessible(control.window);
      EXPECT_TRUE(reading.found) << control.name << ", error 0x" << std::hex << reading.error;
      EXPECT_EQ(control.name, reading.name);
    }
    const test::AccessibleReading chartReading = test::ReadAccessible(chart);
    EXPECT_EQ("0", chartReading.value);
    EXPECT_EQ(ROLE_SYSTEM_CHART, chartReading.role);

    const fw::CColorizedTheme& theme = dialog.Theme();
    const auto pageFace = [&] {
      RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      RECT page{};
      GetClientRect(pages.Page(0), &page);
      return PixelAt(pages.Page(0), page.right - 2, page.bottom - 2);
    };
    {
      const test::HighContrastInProfile highContrast;
      SendMessageA(hwnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
      EXPECT_TRUE(theme.HighContrast());
      EXPECT_EQ(GetSysColor(COLOR_BTNFACE), pageFace());
      EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), theme.Color(fw::ThemeColor::Accent));
      EXPECT_EQ(static_cast<COLORREF>(-1), TreeView_GetBkColor(tree)) << "the tree keeps a colour of its own";
    }
    SendMessageA(hwnd, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_FALSE(theme.HighContrast());
    EXPECT_EQ(theme.Color(fw::ThemeColor::PageFace), pageFace());
    EXPECT_NE(GetSysColor(COLOR_BTNFACE), theme.Color(fw::ThemeColor::PageFace));
    EXPECT_EQ(theme.Color(fw::ThemeColor::ListBackground), TreeView_GetBkColor(tree));
  });
}

// A driver gone since start-up is reported in a message box, one missing at start-up silently; the
// ISDN tree stays empty either way.
TEST_F(DevicesMonitorDlgTest, WithoutTheDriverTheIsdnTreeStaysEmpty) {
  for (const bool goneSinceStartUp : {true, false}) {
    SCOPED_TRACE(goneSinceStartUp);
    ASSERT_TRUE(LoadScriptedProvider("installed 0x1009\ncontrollers 1\n"));
    capiAvailable = goneSinceStartUp ? 1 : 0;
    CDevicesMonitorDlg dialog(Sources(), DevicesMonitorTab::IsdnDevices);
    RunModal(dialog, [&](HWND) { EXPECT_EQ(0u, TreeView_GetCount(GetDlgItem(dialog.Pages().Page(0), IDC_INFO_TREE))); });
    ASSERT_EQ(goneSinceStartUp ? 1u : 0u, g_run.answeredBoxes.size());
    for (const std::string& box : g_run.answeredBoxes) EXPECT_NE(std::string::npos, box.find("No CAPI Installed."));
  }
}

}  // namespace
}  // namespace tfm
