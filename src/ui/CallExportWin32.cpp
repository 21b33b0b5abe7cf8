#include "ui/CallExportWin32.h"

#include <commctrl.h>
#include <commdlg.h>

#include <iterator>
#include <numeric>

#include "calllog/CallRowsText.h"
#include "calllog/ListSeparatorWin32.h"
#include "common/Trace.h"
#include "common/UserNotice.h"
#include "os/Owned.h"
#include "os/Text.h"

namespace tfm {
namespace {

// The longest path the save dialog may return, in UTF-16 units.
constexpr size_t kMaxPathLength = 32768;

// Exported text is written in parts of about this length, so that a large export needs little memory.
constexpr size_t kWriteLength = 64 * 1024;

bool WriteAll(HANDLE file, std::string_view text) {
  DWORD written = 0;
  return WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) && written == text.size();
}

std::wstring CallsText(size_t count, std::string_view thousandsSeparator) {
  return os::Wide(CallCountText(count, count, false, thousandsSeparator));
}

}  // namespace

std::vector<size_t> ChooseExportRows(HWND owner, std::vector<size_t> selected, size_t listed,
                                     std::string_view thousandsSeparator) {
  std::vector<size_t> all(listed);
  std::iota(all.begin(), all.end(), size_t{0});
  if (selected.empty() || selected.size() >= listed) return all;
  const std::wstring selectedText = L"&Selected calls (" + CallsText(selected.size(), thousandsSeparator) + L")";
  const std::wstring allText = L"&All listed calls (" + CallsText(listed, thousandsSeparator) + L")";
  const TASKDIALOG_BUTTON buttons[] = {{kExportSelectedButton, selectedText.c_str()},
                                       {kExportAllButton, allText.c_str()}};
  const std::wstring title = os::Wide(kProgramName);
  TASKDIALOGCONFIG question{};
  question.cbSize = sizeof question;
  question.hwndParent = owner;
  question.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION;
  question.dwCommonButtons = TDCBF_CANCEL_BUTTON;
  question.pszWindowTitle = title.c_str();
  question.pszMainInstruction = L"Which calls do you want to export?";
  question.cButtons = static_cast<UINT>(std::size(buttons));
  question.pButtons = buttons;
  question.nDefaultButton = kExportSelectedButton;
  int pressed = IDCANCEL;
  if (FAILED(TaskDialogIndirect(&question, &pressed, nullptr, nullptr))) {
    Trace("call page: the export question could not be shown");
    return {};
  }
  if (pressed == kExportSelectedButton) return selected;
  return pressed == kExportAllButton ? all : std::vector<size_t>();
}

std::string ChooseExportPath(HWND owner) {
  // Room for a long path: the user's folders may lie deeper than MAX_PATH.
  std::wstring path = L"calls.csv";
  path.resize(kMaxPathLength);
  OPENFILENAMEW request{};
  request.lStructSize = sizeof request;
  request.hwndOwner = owner;
  request.lpstrFilter = L"CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";
  request.lpstrFile = path.data();
  request.nMaxFile = static_cast<DWORD>(path.size());
  request.lpstrTitle = L"Export Calls";
  request.lpstrDefExt = L"csv";
  request.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  return GetSaveFileNameW(&request) ? os::Utf8(path.c_str()) : std::string();
}

bool WriteCallsCsv(const std::string& path, const CallLogIndex& rows, const std::vector<size_t>& positions,
                   std::span<const std::string_view> titles) {
  const os::UniqueHandle file = os::AdoptFile(
      CreateFileW(os::Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const std::string separator = CsvSeparator(UserListSeparator());
  std::string text;
  BeginCsv(text, titles, separator);
  for (const size_t position : positions) {
    AppendCsvRow(text, rows, position, separator);
    if (text.size() < kWriteLength) continue;
    if (!WriteAll(file.get(), text)) return false;
    text.clear();
  }
  return WriteAll(file.get(), text);
}

}  // namespace tfm
