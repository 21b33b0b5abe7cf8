#include "faxservice/ChannelSecurityWin32.h"

#include <cstdio>

#include "common/Trace.h"

namespace tfm {
namespace {

constexpr DWORD kChannelAccess = GENERIC_READ | GENERIC_WRITE | GENERIC_EXECUTE;

// Reports a failed step with the error code of the call that failed.
bool StepFailed(const char* step) {
  const int code = static_cast<int>(GetLastError());
  std::printf("%s() failed with error %d\n", step, code);
  std::fflush(stdout);
  TraceF("%s() failed with error %d", step, code);
  return false;
}

}  // namespace

bool ChannelSecurity::BuildSecurityDescriptor() {
  if (m_acl) return true;
  if (!InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION))
    return StepFailed("InitializeSecurityDescriptor");
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID sid = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_AUTHENTICATED_USER_RID, 0, 0, 0, 0, 0, 0, 0, &sid))
    return StepFailed("AllocateAndInitializeSid");
  const os::UniqueSid authenticatedUsers(sid);
  if (!FillAcl(authenticatedUsers.get())) return false;
  m_attributes.nLength = sizeof m_attributes;
  m_attributes.lpSecurityDescriptor = &m_descriptor;
  m_attributes.bInheritHandle = FALSE;
  return true;
}

bool ChannelSecurity::FillAcl(PSID sid) {
  // Header of the list and of its one entry, plus the SID that the entry ends with.
  const DWORD aclLength = GetLengthSid(sid) + sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD);
  os::UniqueHeapBlock block(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, aclLength));
  if (!block) return StepFailed("HeapAlloc");
  auto* acl = static_cast<PACL>(block.get());
  const bool filled = (InitializeAcl(acl, aclLength, ACL_REVISION) || StepFailed("InitializeAcl")) &&
                      (AddAccessAllowedAce(acl, ACL_REVISION, kChannelAccess, sid) ||
                       StepFailed("AddAccessAllowedAce")) &&
                      (SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE) ||
                       StepFailed("SetSecurityDescriptorDacl"));
  if (filled) m_acl = std::move(block);
  return filled;
}

}  // namespace tfm
