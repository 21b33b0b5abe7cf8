#include "ModemFixtureWin32.h"

#include <windows.h>

#include <sddl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "os/Owned.h"

namespace tfm::test {
namespace {

const char* const kClassKey = "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96D-E325-11CE-BFC1-08002BE10318}";

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  const bool opened = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS;
  const os::UniqueKey owned(opened ? key : nullptr);
  return opened;
}

// Every key the fixture makes, parents before children.
std::vector<std::string> FixtureKeys() {
  std::vector<std::string> keys;
  for (const char* instance : {"0000", "0000\\Settings", "0001", "0003"}) {
    keys.push_back(std::string(kClassKey) + "\\" + instance);
  }
  for (const char* device : {"Enum\\Root", "Enum\\Root\\MODEM", "Enum\\Root\\MODEM\\0000"}) keys.emplace_back(device);
  return keys;
}

// Replaces the DACL of an HKLM key; the key's owner may always do so.
bool SetKeyDacl(const std::string& path, const char* sddl) {
  os::LocalPtr<void> descriptor;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, descriptor.out(), nullptr)) {
    return false;
  }
  descriptor.adopt();
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return false;
  const os::UniqueKey owned(key);
  return RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor.get()) == ERROR_SUCCESS;
}

DWORD RunAndWait(std::string commandLine) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    return GetLastError();
  }
  const os::ProcessHandles process = os::ProcessHandles::Adopt(started);
  WaitForSingleObject(process.process.get(), 60000);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.process.get(), &exitCode);
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

bool ModemFixture::ProtectReadOnly() {
  bool all = true;
  for (const std::string& key : FixtureKeys()) all = SetKeyDacl(key, "D:P(A;;KR;;;WD)") && all;
  return all;
}

void ModemFixture::Remove() {
  // Keys left read-only by ProtectReadOnly could not be deleted.
  for (const std::string& key : FixtureKeys()) SetKeyDacl(key, "D:(A;;KA;;;WD)");
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
