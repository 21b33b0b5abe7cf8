#include "phonebook/PhoneBookWin32.h"

#include <shlobj.h>

#include <algorithm>
#include <iterator>
#include <utility>

#include "calllog/ListSeparatorWin32.h"
#include "os/Process.h"
#include "os/Text.h"
#include "phonebook/DialingLocation.h"

namespace tfm {
namespace {

constexpr wchar_t kVendorFolder[] = L"\\Telvaro";
constexpr wchar_t kProgramFolder[] = L"\\Fax Server Monitor";
constexpr wchar_t kFileName[] = L"\\phonebook.csv";
constexpr wchar_t kNewFileSuffix[] = L".new";

std::wstring PhoneBookFolder() {
  wchar_t appData[MAX_PATH]{};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData))) return {};
  return std::wstring(appData) + kVendorFolder + kProgramFolder;
}

std::string Failure(const std::wstring& path, DWORD code) {
  return "The phone book " + os::Utf8(path) + " cannot be written: " + os::SystemErrorText(code);
}

bool WriteWhole(HANDLE file, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
    done += written;
  }
  return FlushFileBuffers(file) != FALSE;
}

}  // namespace

CPhoneBookWin32::CPhoneBookWin32(IRegistry& registry, PhoneBook::BrokenLinesNotice notice)
    : m_registry(registry),
      m_folder(PhoneBookFolder()),
      m_path(m_folder.empty() ? std::wstring() : m_folder + kFileName),
      m_book(*this, std::move(notice)) {}

void CPhoneBookWin32::Watch() {
  m_book.Refresh();
  m_timer.reset(CreateThreadpoolTimer(&CPhoneBookWin32::OnTimer, this, nullptr));
  if (!m_timer) return;
  // Relative due time, in 100 ns units.
  ULARGE_INTEGER due{};
  due.QuadPart = static_cast<ULONGLONG>(-static_cast<LONGLONG>(kPhoneBookCheckIntervalMs) * 10'000);
  FILETIME dueTime{due.LowPart, due.HighPart};
  SetThreadpoolTimer(m_timer.get(), &dueTime, kPhoneBookCheckIntervalMs, kPhoneBookCheckIntervalMs / 4);
}

void CALLBACK CPhoneBookWin32::OnTimer(PTP_CALLBACK_INSTANCE, void* self, PTP_TIMER) {
  static_cast<CPhoneBookWin32*>(self)->m_book.Refresh();
}

std::uint64_t CPhoneBookWin32::Stamp() {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (m_path.empty() || !GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data)) return 0;
  const std::uint64_t written =
      static_cast<std::uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
  const std::uint64_t length = static_cast<std::uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  return (written ^ length * 0x9E3779B97F4A7C15u) | 1;  // never 0, which stands for "missing"
}

IPhoneBookStore::ReadResult CPhoneBookWin32::Read(std::string& bytes, std::string& error) {
  bytes.clear();
  if (m_path.empty()) return ReadResult::kMissing;
  // Shared for everything: a spreadsheet or editor holding the file open is never disturbed.
  const os::UniqueHandle file = os::AdoptFile(CreateFileW(m_path.c_str(), GENERIC_READ,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return ReadResult::kMissing;
    error = "error " + std::to_string(code);
    return ReadResult::kFailed;
  }
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) {
    error = "error " + std::to_string(GetLastError());
    return ReadResult::kFailed;
  }
  bytes.resize(static_cast<size_t>(std::min<LONGLONG>(size.QuadPart, kPhoneBookMaxLength)));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr)) {
      error = "error " + std::to_string(GetLastError());
      return ReadResult::kFailed;
    }
    if (read == 0) break;  // the file became shorter meanwhile
    done += read;
  }
  bytes.resize(done);
  return ReadResult::kRead;
}

// The new text goes to a file beside the book, which then replaces the book in one step: a reader (or
// a crash) never meets half a book.
bool CPhoneBookWin32::Replace(const std::string& bytes, std::string& error) {
  if (m_path.empty()) {
    error = "The phone book cannot be written: the system names no application-data folder.";
    return false;
  }
  const std::wstring vendor = m_folder.substr(0, m_folder.size() - (std::size(kProgramFolder) - 1));
  for (const std::wstring& folder : {vendor, m_folder}) {
    if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
      error = Failure(m_path, GetLastError());
      return false;
    }
  }
  const std::wstring temporary = m_path + kNewFileSuffix;
  {
    const os::UniqueHandle file = os::AdoptFile(
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
      error = Failure(m_path, GetLastError());
      return false;
    }
    if (!WriteWhole(file.get(), bytes)) {
      const DWORD code = GetLastError();
      error = Failure(m_path, code);
      DeleteFileW(temporary.c_str());
      return false;
    }
  }
  if (!MoveFileExW(temporary.c_str(), m_path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = Failure(m_path, GetLastError());
    DeleteFileW(temporary.c_str());
    return false;
  }
  return true;
}

// The reader takes ';' and ','; any other list separator would make lines this program cannot read.
char CPhoneBookWin32::Separator() {
  const std::string separator = UserListSeparator();
  return separator == ";" ? ';' : ',';
}

DialingLocation CPhoneBookWin32::Location() { return ReadDialingLocation(m_registry); }

}  // namespace tfm
