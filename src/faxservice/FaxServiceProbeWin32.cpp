#include "faxservice/FaxServiceProbeWin32.h"

#include "common/Trace.h"
#include "faxservice/FaxServiceNames.h"
#include "os/Owned.h"
#include "os/Text.h"

namespace tfm {
namespace {

int32_t ProbeFailed(const char* format) {
  TraceF(format, static_cast<int>(GetLastError()));
  return kServiceStateUnknown;
}

}  // namespace

int32_t QueryFaxServiceState(const ServiceOpenCalls& calls) {
  const os::UniqueServiceHandle manager(calls.openManager(nullptr, nullptr, SC_MANAGER_CONNECT));
  if (!manager) return ProbeFailed("Open service manager failed with error :%d");
  const os::UniqueServiceHandle service(
      calls.openService(manager.get(), os::Wide(kFaxServiceName).c_str(), SERVICE_QUERY_STATUS));
  if (!service) return ProbeFailed("Open service failed with error :%d");
  SERVICE_STATUS status{};
  if (!QueryServiceStatus(service.get(), &status)) return ProbeFailed("Query service failed error :%d");
  return static_cast<int32_t>(status.dwCurrentState);
}

}  // namespace tfm
