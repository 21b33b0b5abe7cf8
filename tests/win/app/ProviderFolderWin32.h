#pragma once
#include <windows.h>

#include <string>

namespace tfm::test {

// The provider DLLs live in folders of their own under the build tree; a test points the library
// search path at one of them at a time.
inline std::string ProviderFolder(const char* name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.erase(folder.rfind('\\'));
  return folder + "\\..\\..\\..\\tools\\" + name;
}

}  // namespace tfm::test
