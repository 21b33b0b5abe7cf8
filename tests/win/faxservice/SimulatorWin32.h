#pragma once
// Test helpers around the fax server simulator (tools/faxsim): scripts, its log, and its process.
#include <windows.h>

#include <string>
#include <vector>

#include "os/Owned.h"

namespace tfm::test {

// The simulator exe as a Windows path (the build gives it as a path of the host, reached through Z:).
std::string SimulatorExe();

// A file in the temporary folder, removed first; returns its Windows path.
std::string FreshTempFile(const char* name);
void WriteTextFile(const std::string& path, const std::string& text);
std::vector<std::string> ReadLines(const std::string& path);

// Polls the file until it has the line; false after timeoutMs.
bool WaitForLine(const std::string& path, const std::string& line, DWORD timeoutMs);

// Runs "faxsim.exe --console <script> <log>" in the background.
class ConsoleSimulator {
 public:
  ConsoleSimulator(const std::string& scriptText, const char* tag);
  ~ConsoleSimulator();
  // Waits for the process to end; false if it is still running after timeoutMs.
  bool Join(DWORD timeoutMs);
  const std::string& log() const { return m_log; }

 private:
  std::string m_script;
  std::string m_log;
  os::ProcessHandles m_process;
};

}  // namespace tfm::test
