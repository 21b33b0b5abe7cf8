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

ChannelSecurity::~ChannelSecurity() {
  if (m_acl) HeapFree(GetProcessHeap(), 0, m_acl);
}

bool ChannelSecurity::BuildSecurityDescriptor() {
  if (m_acl) return true;
  if (!InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION))
    return StepFailed("InitializeSecurityDescriptor");
  SID_IDENTIFIER_AUTHORITY ntAuthority = SECURITY_NT_AUTHORITY;
  PSID authenticatedUsers = nullptr;
  if (!AllocateAndInitializeSid(&ntAuthority, 1, SECURITY_AUTHENTICATED_USER_RID, 0, 0, 0, 0, 0, 0, 0,
                                &authenticatedUsers))
    return StepFailed("AllocateAndInitializeSid");
  const bool built = FillAcl(authenticatedUsers);
  FreeSid(authenticatedUsers);
  if (!built) return false;
  m_attributes.nLength = sizeof m_attributes;
  m_attributes.lpSecurityDescriptor = &m_descriptor;
  m_attributes.bInheritHandle = FALSE;
  return true;
}

bool ChannelSecurity::FillAcl(PSID sid) {
  // Header of the list and of its one entry, plus the SID that the entry ends with.
  const DWORD aclLength = GetLengthSid(sid) + sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD);
  auto* acl = static_cast<PACL>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, aclLength));
  if (!acl) return StepFailed("HeapAlloc");
  const bool filled = (InitializeAcl(acl, aclLength, ACL_REVISION) || StepFailed("InitializeAcl")) &&
                      (AddAccessAllowedAce(acl, ACL_REVISION, kChannelAccess, sid) ||
                       StepFailed("AddAccessAllowedAce")) &&
                      (SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE) ||
                       StepFailed("SetSecurityDescriptorDacl"));
  if (!filled) {
    HeapFree(GetProcessHeap(), 0, acl);
    return false;
  }
  m_acl = acl;
  return true;
}

}  // namespace tfm
