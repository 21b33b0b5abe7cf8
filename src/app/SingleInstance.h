#pragma once
#include <cstdint>

#include "common/OsVersion.h"

namespace tfm {

// How the single-instance guard mutex is created on a system with the given OS version code.
struct GuardMutexChoice {
  const char* name;
  bool withSecurity;  // security attributes with a null-DACL descriptor (full access for everyone)
};

constexpr GuardMutexChoice ChooseGuardMutex(int32_t osVersionCode) {
  if (osVersionCode <= kLastCodeWithoutSecurity) return {"TelvaroFaxGuard", false};
  if (osVersionCode <= kLastCodeWithoutNamespaces) return {"TelvaroFaxGuard", true};
  return {"Local\\TelvaroFaxGuard", true};
}

}  // namespace tfm
