#include "ChannelTestSupportWin32.h"

#include <winternl.h>

#include <algorithm>
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

}  // namespace tfm::test
