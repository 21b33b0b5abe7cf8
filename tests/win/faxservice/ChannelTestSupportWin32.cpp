#include "ChannelTestSupportWin32.h"

#include <winternl.h>

#include <algorithm>
#include <fstream>
#include <vector>

namespace tfm::test {

namespace {

// The system handle list's entry layout (information class 16).
struct SystemHandleEntry {
  USHORT processId;
  USHORT creatorBackTraceIndex;
  UCHAR objectType;
  UCHAR attributes;
  USHORT handle;
  PVOID object;
  ULONG grantedAccess;
};
struct SystemHandleList {
  ULONG count;
  SystemHandleEntry entries[1];
};
constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);

}  // namespace

DWORD ProcessHandleCount() {
  std::vector<char> buffer(1 << 20);
  ULONG length = 0;
  NTSTATUS status;
  while ((status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                            static_cast<ULONG>(buffer.size()), &length)) == kInfoLengthMismatch)
    buffer.resize(buffer.size() * 2);
  if (status != 0) return 0;
  const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
  const auto self = static_cast<USHORT>(GetCurrentProcessId());
  return static_cast<DWORD>(std::count_if(list->entries, list->entries + list->count,
                                          [self](const SystemHandleEntry& e) { return e.processId == self; }));
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool WaitForLine(const std::string& path, const std::string& line, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    for (const std::string& written : ReadLines(path))
      if (written == line) return true;
    if (GetTickCount64() >= deadline) return false;
    Sleep(50);
  }
}

ConsoleSimulator::ConsoleSimulator(const std::string& scriptText, const char* tag)
    : m_script((std::string(tag) + ".script").c_str(), scriptText), m_log((std::string(tag) + ".log").c_str(), "") {
  // The build names the simulator by its host path, which Wine reaches through Z:.
  std::string exe = "Z:" FAXSIM_EXE;
  std::replace(exe.begin(), exe.end(), '/', '\\');
  std::string command = "\"" + exe + "\" --console \"" + m_script.Path() + "\" \"" + m_log.Path() + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    m_process = os::ProcessHandles::Adopt(started);
  }
}

ConsoleSimulator::~ConsoleSimulator() {
  if (m_process.process && !Join(0)) TerminateProcess(m_process.process.get(), 1);
}

bool ConsoleSimulator::Join(DWORD timeoutMs) {
  return m_process.process && WaitForSingleObject(m_process.process.get(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace tfm::test
