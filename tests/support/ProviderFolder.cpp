#include "ProviderFolder.h"

#include <windows.h>

#include <fstream>

#include "os/Process.h"

namespace tfm::test {

// The test exes sit three levels below the build tree's root, the providers under tools/.
std::string ProviderFolder(const char* name) {
  return os::ExecutableDirectory() + "\\..\\..\\..\\tools\\" + name;
}

ProviderSearchPath::ProviderSearchPath(const char* name)
    : m_set(SetDllDirectoryA(ProviderFolder(name).c_str()) != FALSE) {}

ProviderSearchPath::~ProviderSearchPath() { SetDllDirectoryA(nullptr); }

TempFile::TempFile(const char* name, const std::string& content) {
  char folder[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, folder);
  m_path = std::string(folder) + name + "." + std::to_string(GetCurrentProcessId());
  std::ofstream(m_path, std::ios::binary) << content;
}

TempFile::~TempFile() { DeleteFileA(m_path.c_str()); }

}  // namespace tfm::test
