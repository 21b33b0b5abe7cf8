// The rights the service probe asks for, recorded on their way to the real (Wine) service manager:
// query rights only, which a standard user holds; full access would be refused to one.
#include "faxservice/FaxServiceProbeWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "faxservice/FaxServiceNames.h"
#include "os/Owned.h"

namespace tfm {
namespace {

DWORD g_managerAccess = 0;
DWORD g_serviceAccess = 0;
SC_HANDLE WINAPI RecordManagerAccess(LPCWSTR machine, LPCWSTR database, DWORD access) {
  return OpenSCManagerW(machine, database, g_managerAccess = access);
}
SC_HANDLE WINAPI RecordServiceAccess(SC_HANDLE manager, LPCWSTR name, DWORD access) {
  return OpenServiceW(manager, name, g_serviceAccess = access);
}

TEST(FaxServiceProbe, AsksForQueryRightsOnly) {
  const os::UniqueServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  ASSERT_TRUE(manager);
  const os::UniqueServiceHandle service(CreateServiceA(
      manager.get(), kFaxServiceName, kFaxServiceName, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
      SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL, "Z:" FAXSIM_EXE, nullptr, nullptr, nullptr, nullptr, nullptr));
  ASSERT_TRUE(service) << GetLastError();
  EXPECT_EQ(SERVICE_STOPPED, QueryFaxServiceState({RecordManagerAccess, RecordServiceAccess}));
  DeleteService(service.get());
  EXPECT_EQ(static_cast<DWORD>(SC_MANAGER_CONNECT), g_managerAccess);
  EXPECT_EQ(static_cast<DWORD>(SERVICE_QUERY_STATUS), g_serviceAccess);
}

}  // namespace
}  // namespace tfm
