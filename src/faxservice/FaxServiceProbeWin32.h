#pragma once
#include <windows.h>

#include <cstdint>

#include "faxservice/ServicePoller.h"

namespace tfm {

// The two service manager calls that ask for rights; a test wraps them to see the rights asked for.
struct ServiceOpenCalls {
  SC_HANDLE(WINAPI* openManager)(LPCWSTR machine, LPCWSTR database, DWORD access) = OpenSCManagerW;
  SC_HANDLE(WINAPI* openService)(SC_HANDLE manager, LPCWSTR name, DWORD access) = OpenServiceW;
};

// The state of the service "TelvaroFaxService" from the service control manager, or -1 when it cannot
// be found out. Only the rights to connect and to query the status are asked for, which a standard
// user holds.
int32_t QueryFaxServiceState(const ServiceOpenCalls& calls = {});

class FaxServiceProbe final : public IServiceProbe {
 public:
  int32_t QueryFaxServiceState() override { return tfm::QueryFaxServiceState(); }
};

}  // namespace tfm
