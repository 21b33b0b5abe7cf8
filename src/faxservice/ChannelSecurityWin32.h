#pragma once
// Security of the channel objects the monitor creates: one access-allowed entry (read, write,
// execute) for Authenticated Users, so a fax server running under another account can open them.
#include <windows.h>
// aclapi.h maps the name BuildSecurityDescriptor to a system function; ours keeps its own name.
#include <aclapi.h>
#undef BuildSecurityDescriptor

#include "os/Owned.h"

namespace tfm {

class ChannelSecurity {
 public:
  ChannelSecurity() = default;
  ChannelSecurity(const ChannelSecurity&) = delete;
  ChannelSecurity& operator=(const ChannelSecurity&) = delete;

  // Builds the descriptor once and reuses it afterwards. A failing step prints its message to standard
  // output and to the trace, and the result is false.
  bool BuildSecurityDescriptor();

  // Not inheritable; refers to the descriptor built above.
  SECURITY_ATTRIBUTES* attributes() { return &m_attributes; }

 private:
  bool FillAcl(PSID sid);

  SECURITY_DESCRIPTOR m_descriptor{};
  os::UniqueHeapBlock m_acl;  // referred to by the descriptor, so it lives as long as this object
  SECURITY_ATTRIBUTES m_attributes{};
};

#if !defined(_WIN64)
static_assert(sizeof(SECURITY_DESCRIPTOR) == 20 && sizeof(SECURITY_ATTRIBUTES) == 12);
#endif

}  // namespace tfm
