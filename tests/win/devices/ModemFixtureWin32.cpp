#include "ModemFixtureWin32.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "os/Owned.h"

namespace tfm::test {
namespace {

const char* const kClassKey = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  const LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key);
  const os::UniqueKey owned(result == ERROR_SUCCESS ? key : nullptr);
  return result == ERROR_SUCCESS;
}

DWORD RunAndWait(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return GetLastError();
  }
  const os::ProcessHandles owned = os::ProcessHandles::Adopt(process);
  WaitForSingleObject(owned.process.get(), 60000);
  DWORD exitCode = 1;
  GetExitCodeProcess(owned.process.get(), &exitCode);
  return exitCode;
}

// The fixture's Linux path as Wine's Z: drive shows it.
std::string FixturePath() {
  std::string path = std::string("Z:") + TFM_MODEM_FIXTURE;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

}  // namespace

bool ModemFixture::Import() {
  m_enumExisted = KeyExists("Enum");
  Remove();
  return RunAndWait("reg.exe import \"" + FixturePath() + "\"") == 0;
}

void ModemFixture::Remove() {
  for (const char* instance : {"0000", "0001", "0002", "0003"}) {
    const std::string path = std::string(kClassKey) + "\\" + instance;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, path.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, path.c_str());
  }
  const char* enumKey = m_enumExisted ? "Enum\\Root\\MODEM\\0000" : "Enum";
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, enumKey);
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, enumKey);
}

}  // namespace tfm::test
