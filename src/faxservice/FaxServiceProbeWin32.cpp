#include "faxservice/FaxServiceProbeWin32.h"

#include <windows.h>

#include "common/Trace.h"
#include "faxservice/FaxServiceNames.h"

namespace tfm {
namespace {

int32_t ProbeFailed(const char* format) {
  TraceF(format, static_cast<int>(GetLastError()));
  return kServiceStateUnknown;
}

int32_t QueryOpenService(SC_HANDLE manager) {
  SC_HANDLE service = OpenServiceA(manager, kFaxServiceName, SERVICE_ALL_ACCESS);
  if (!service) return ProbeFailed("Open service failed with error :%d");
  SERVICE_STATUS status{};
  const int32_t state = QueryServiceStatus(service, &status) ? static_cast<int32_t>(status.dwCurrentState)
                                                             : ProbeFailed("Query service failed error :%d");
  CloseServiceHandle(service);
  return state;
}

}  // namespace

int32_t QueryFaxServiceState() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, GENERIC_READ);
  if (!manager) return ProbeFailed("Open service manager failed with error :%d");
  const int32_t state = QueryOpenService(manager);
  CloseServiceHandle(manager);
  return state;
}

}  // namespace tfm
