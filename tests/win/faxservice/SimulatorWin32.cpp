#include "SimulatorWin32.h"

#include <fstream>

namespace tfm::test {

std::string SimulatorExe() {
  std::string path = "Z:" FAXSIM_EXE;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

std::string FreshTempFile(const char* name) {
  char folder[MAX_PATH];
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + name;
  DeleteFileA(path.c_str());
  return path;
}

void WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool WaitForLine(const std::string& path, const std::string& line, DWORD timeoutMs) {
  const ULONGLONG deadline = GetTickCount64() + timeoutMs;
  do {
    for (const std::string& seen : ReadLines(path)) {
      if (seen == line) return true;
    }
    Sleep(50);
  } while (GetTickCount64() < deadline);
  return false;
}

ConsoleSimulator::ConsoleSimulator(const std::string& scriptText, const char* tag)
    : m_script(FreshTempFile((std::string(tag) + ".script").c_str())),
      m_log(FreshTempFile((std::string(tag) + ".log").c_str())) {
  WriteTextFile(m_script, scriptText);
  std::string command = "\"" + SimulatorExe() + "\" --console \"" + m_script + "\" \"" + m_log + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started)) {
    m_process = os::ProcessHandles::Adopt(started);
  }
}

ConsoleSimulator::~ConsoleSimulator() {
  if (m_process.process && !Join(0)) TerminateProcess(m_process.process.get(), 1);
}

bool ConsoleSimulator::Join(DWORD timeoutMs) {
  return m_process.process && WaitForSingleObject(m_process.process.get(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace tfm::test
