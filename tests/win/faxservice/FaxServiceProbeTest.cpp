#include "faxservice/FaxServiceProbeWin32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimulatorWin32.h"
#include "TraceCapture.h"
#include "faxservice/FaxServiceNames.h"
#include "os/Owned.h"

namespace tfm {
namespace {

// Registers the simulator as the service "TelvaroFaxService" for one test and removes it afterwards.
class FaxServiceProbeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_manager.reset(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ASSERT_TRUE(m_manager);
    RemoveService();
    trace.Clear();
  }
  void TearDown() override { RemoveService(); }

  void Register(const std::string& scriptText) {
    m_script = test::FreshTempFile("fax-service.script");
    m_log = test::FreshTempFile("fax-service.log");
    test::WriteTextFile(m_script, scriptText);
    const std::string binaryPath = "\"" + test::SimulatorExe() + "\" \"" + m_script + "\" \"" + m_log + "\"";
    m_service.reset(CreateServiceA(m_manager.get(), kFaxServiceName, kFaxServiceName, SERVICE_ALL_ACCESS,
                               SERVICE_WIN32_OWN_PROCESS, SERVICE_DEMAND_START, SERVICE_ERROR_NORMAL,
                                   binaryPath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(m_service) << GetLastError();
  }

  // The probe's answer once it equals the wanted state, or the last answer after the time-out.
  static int32_t ProbeUntil(int32_t wanted, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    int32_t state = QueryFaxServiceState();
    while (state != wanted && GetTickCount64() < deadline) {
      Sleep(100);
      state = QueryFaxServiceState();
    }
    return state;
  }

  void RemoveService() {
    os::UniqueServiceHandle service = m_service ? std::move(m_service)
                                                : os::UniqueServiceHandle(OpenServiceA(
                                                      m_manager.get(), kFaxServiceName, SERVICE_ALL_ACCESS));
    if (!service) return;
    SERVICE_STATUS status{};
    ControlService(service.get(), SERVICE_CONTROL_STOP, &status);
    ProbeUntil(SERVICE_STOPPED, 10000);
    DeleteService(service.get());
  }

  test::TraceCapture trace;
  os::UniqueServiceHandle m_manager;
  os::UniqueServiceHandle m_service;
  std::string m_script;
  std::string m_log;
};

TEST_F(FaxServiceProbeTest, MissingServiceGivesMinusOneAndTracesWhy) {
  EXPECT_EQ(-1, QueryFaxServiceState());
  EXPECT_EQ((std::vector<std::string>{"Open service failed with error :1060"}), trace.Lines());
}

// The rights the probe asks for, recorded on their way to the real service manager.
DWORD g_managerAccess = 0;
DWORD g_serviceAccess = 0;
SC_HANDLE WINAPI RecordManagerAccess(LPCSTR machine, LPCSTR database, DWORD access) {
  return OpenSCManagerA(machine, database, g_managerAccess = access);
}
SC_HANDLE WINAPI RecordServiceAccess(SC_HANDLE manager, LPCSTR name, DWORD access) {
  return OpenServiceA(manager, name, g_serviceAccess = access);
}

TEST_F(FaxServiceProbeTest, SimulatorStoppedThenRunningThenStoppedAgain) {
  Register("");
  // Query rights only, which a standard user holds: full access would be refused to one.
  EXPECT_EQ(SERVICE_STOPPED, QueryFaxServiceState({RecordManagerAccess, RecordServiceAccess}));
  EXPECT_EQ(static_cast<DWORD>(SC_MANAGER_CONNECT), g_managerAccess);
  EXPECT_EQ(static_cast<DWORD>(SERVICE_QUERY_STATUS), g_serviceAccess);
  ASSERT_TRUE(StartServiceA(m_service.get(), 0, nullptr)) << GetLastError();
  EXPECT_EQ(SERVICE_RUNNING, ProbeUntil(SERVICE_RUNNING, 20000));
  SERVICE_STATUS status{};
  ASSERT_TRUE(ControlService(m_service.get(), SERVICE_CONTROL_STOP, &status));
  EXPECT_EQ(SERVICE_STOPPED, ProbeUntil(SERVICE_STOPPED, 20000));
  EXPECT_TRUE(test::WaitForLine(m_log, "stopped", 5000)) << "the simulator ends cleanly on the stop request";
}

}  // namespace
}  // namespace tfm
