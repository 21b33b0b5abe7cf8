#pragma once
// The COMMON-ISDN-API provider DLLs built under tools/, each in a folder of its own, for tests that
// load capi2032.dll as the program does.
#include <string>

namespace tfm::test {

// The folder of the named provider build (for example "capi-scripted").
std::string ProviderFolder(const char* name);

// Points the DLL search path at a provider folder while it lives.
class ProviderSearchPath {
 public:
  explicit ProviderSearchPath(const char* name);
  ~ProviderSearchPath();
  ProviderSearchPath(const ProviderSearchPath&) = delete;
  ProviderSearchPath& operator=(const ProviderSearchPath&) = delete;
  bool Set() const { return m_set; }

 private:
  bool m_set;
};

// A file in the temporary folder whose name is unique to this process, removed when it goes.
class TempFile {
 public:
  TempFile(const char* name, const std::string& content);
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

}  // namespace tfm::test
