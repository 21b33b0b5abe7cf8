#include "ProcessStatsWin32.h"

#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <vector>

#include "os/Owned.h"

namespace {

// The system handle list (information class 16): a count, then one fixed-size record per handle.
struct HandleRecord {
  USHORT ownerPid;
  USHORT backTraceIndex;
  UCHAR typeIndex;
  UCHAR flags;
  USHORT value;
  PVOID object;
  ULONG access;
};
struct HandleTable {
  ULONG count;
  HandleRecord records[1];
};

long CountHandlesOf(DWORD pid) {
  constexpr NTSTATUS kLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
  std::vector<unsigned char> table(256 * 1024);
  NTSTATUS status;
  for (;;) {
    ULONG needed = 0;
    status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), table.data(),
                                      static_cast<ULONG>(table.size()), &needed);
    if (status != kLengthMismatch || table.size() > (64u << 20)) break;
    table.resize(table.size() * 4);
  }
  if (status != 0) return -1;
  const auto* handles = reinterpret_cast<const HandleTable*>(table.data());
  long mine = 0;
  for (ULONG i = 0; i < handles->count; ++i) mine += handles->records[i].ownerPid == static_cast<USHORT>(pid);
  return mine;
}

}  // namespace

int PrintProcessStats(HWND window) {
  DWORD pid = 0;
  if (!GetWindowThreadProcessId(window, &pid) || pid == 0) return 1;
  const os::UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
  if (!process) return 1;
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  if (!GetProcessMemoryInfo(process.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory))
    return 1;
  std::printf("pid=%lu handles=%ld private=%llu\n", pid, CountHandlesOf(pid),
              static_cast<unsigned long long>(memory.PrivateUsage));
  return 0;
}
