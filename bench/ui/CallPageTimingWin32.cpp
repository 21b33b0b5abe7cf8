// Times the call monitor page listing a call log of 100,000 lines (or as many as the first argument
// says, with the number of runs as the second): the page is created from its template (which indexes
// the log and lists it) and destroyed again, several times; the minimum and the median of the
// creations are printed, with the memory the page commits against the file's size, what a header click
// costs (sorting by a number and by the moment), and what a keystroke in the search box costs, from the
// empty box to a typical text (the first one also takes the callers' names from a phone book of a
// thousand names). The log is written beside this exe and removed after.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "MapPhoneBook.h"
#include "calllog/CallLogFileWin32.h"
#include "res/resource.h"
#include "ui/CallMonitorPageWin32.h"

namespace {

constexpr int kDefaultLines = 100000;
constexpr int kDefaultRuns = 7;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return 1e3 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now;
}

bool WriteLog(const std::string& path, int lines) {
  std::FILE* file = std::fopen(path.c_str(), "w");  // text mode, as the monitor writes it
  if (!file) return false;
  for (int i = 0; i < lines; ++i) {
    std::fprintf(file, "IN %d 0301%06d 2005-%02d-%02d %02d:%02d:%02d\n", 4711 + i % 7, i, 1 + i % 12, 1 + i % 28,
                 i / 3600 % 24, i / 60 % 60, i % 60);
  }
  return std::fclose(file) == 0;
}

double CommittedMegabytes() {
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  return double(memory.PagefileUsage) / (1 << 20);
}

double FileMegabytes(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return double((uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow) / (1 << 20);
}

// A click on a column's header, as the list tells its page of it.
double ClickHeaderMilliseconds(HWND page, int column) {
  NMLISTVIEW click{};
  click.hdr.hwndFrom = GetDlgItem(page, IDC_CALL_LIST);
  click.hdr.idFrom = IDC_CALL_LIST;
  click.hdr.code = LVN_COLUMNCLICK;
  click.iItem = -1;
  click.iSubItem = column;
  const LARGE_INTEGER start = Now();
  SendMessageA(page, WM_NOTIFY, IDC_CALL_LIST, reinterpret_cast<LPARAM>(&click));
  UpdateWindow(page);
  return Milliseconds(start, Now());
}

// One keystroke's worth: the box's text changes, the page searches, and the list is drawn again.
double SearchMilliseconds(HWND page, const wchar_t* text) {
  const HWND search = GetDlgItem(page, IDC_CALL_SEARCH);
  SetWindowTextW(search, L"");
  UpdateWindow(page);
  const LARGE_INTEGER start = Now();
  SetWindowTextW(search, text);
  UpdateWindow(page);
  return Milliseconds(start, Now());
}

void PumpUntilIdle() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

int main(int argc, char** argv) {
  const int lines = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultLines;
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : kDefaultRuns;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  const std::string log = tfm::CallLogFilePath();
  if (!WriteLog(log, lines)) {
    std::fprintf(stderr, "cannot write %s\n", log.c_str());
    return 1;
  }
  const HWND host = CreateWindowExA(0, "STATIC", "call page timing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700,
                                    400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  std::vector<double> times;
  int rows = 0;
  double held = 0;
  double sortByCaller = 0;
  double sortByMoment = 0;
  tfm::test::MapPhoneBook book = tfm::test::CustomersBook();
  constexpr const wchar_t* kTexts[] = {L"0", L"0301", L"4711", L"m\u00FCller", L"zzz"};
  double searches[std::size(kTexts)] = {};
  for (int run = 0; run < runs; ++run) {
    ++book.generation;  // every run takes the names afresh at its first search
    tfm::CCallMonitorDlg page(nullptr, &book);
    const double before = CommittedMegabytes();
    const LARGE_INTEGER start = Now();
    const bool created = page.CreateChild(host);
    ShowWindow(page.Hwnd(), SW_SHOW);
    UpdateWindow(page.Hwnd());
    times.push_back(Milliseconds(start, Now()));
    if (!created) return 1;
    held = std::max(held, CommittedMegabytes() - before);
    rows = static_cast<int>(SendMessageA(page.list().Hwnd(), LVM_GETITEMCOUNT, 0, 0));
    sortByCaller = ClickHeaderMilliseconds(page.Hwnd(), 1);
    sortByMoment = ClickHeaderMilliseconds(page.Hwnd(), 3);
    for (size_t i = 0; i < std::size(kTexts); ++i) searches[i] = SearchMilliseconds(page.Hwnd(), kTexts[i]);
    DestroyWindow(page.Hwnd());
    PumpUntilIdle();
  }
  DestroyWindow(host);
  const double file = FileMegabytes(log);
  DeleteFileA(log.c_str());
  std::sort(times.begin(), times.end());
  std::printf("call page from %d log lines: %d rows, %d runs, min %.0f ms, median %.0f ms\n", lines, rows, runs,
              times.front(), times[times.size() / 2]);
  std::printf("memory: file %.1f MB, page holds %.1f MB committed (%.2f x the file)\n", file, held, held / file);
  std::printf("header click (last run): by caller %.0f ms, by date and time %.0f ms\n", sortByCaller, sortByMoment);
  std::printf("search keystroke (last run, sorted by the moment): \"0\" with the names taken %.0f ms, \"0301\" %.0f ms,"
              " \"4711\" %.0f ms, \"m\xC3\xBCller\" %.0f ms, \"zzz\" %.0f ms\n",
              searches[0], searches[1], searches[2], searches[3], searches[4]);
  return rows == lines ? 0 : 1;
}
