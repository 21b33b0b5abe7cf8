// Fax server simulator: the Windows service "TelvaroFaxService" that plays the server's side of the
// channel to the monitor. It posts the texts of a script and writes what happens to a log file:
//   faxsim.exe <script> <log>              as the service (the service's binary path and arguments)
//   faxsim.exe --console <script> <log>    in the foreground: runs the script once (even a repeating one)
//                                          and ends
// Log lines: "started", "opened" (the channel's objects; after "error <step> <code>" when the first try
// failed), "posted <text>", "acknowledged <text>", "unacknowledged <text>", "rejected <line>", "stopped".
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "ServerEndWin32.h"
#include "SimScript.h"
#include "os/Owned.h"

namespace {

constexpr char kServiceName[] = "TelvaroFaxService";
constexpr DWORD kConsoleAnswerTimeoutMs = 15000;
constexpr DWORD kOpenRetryMs = 500;

// A repeating script needs a pause to repeat: without one it would post as fast as the monitor answers.
bool Repeats(const faxsim::Script& script) {
  if (!script.repeat) return false;
  for (const faxsim::Step& step : script.steps) {
    if (step.kind == faxsim::Step::Kind::Pause && step.milliseconds > 0) return true;
  }
  return false;
}

// One run of the simulator: its script and log, the event that stops it and, as a service, the
// handle through which it reports its state.
class Simulator {
 public:
  Simulator(std::wstring scriptPath, std::wstring logPath)
      : m_scriptPath(std::move(scriptPath)),
        m_logPath(std::move(logPath)),
        m_stop(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

  // One line at a time, opened and closed each time so that a test can read the file meanwhile.
  void Log(const std::string& line) const {
    const os::UniqueHandle file = os::AdoptFile(CreateFileW(m_logPath.c_str(), FILE_APPEND_DATA,
                                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    const std::string text = line + "\r\n";
    DWORD written = 0;
    WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }

  void Simulate(DWORD answerTimeoutMs, bool mayRepeat) const {
    Log("started");
    std::ifstream in(std::filesystem::path{m_scriptPath});
    const faxsim::Script script = faxsim::ParseScript(in);
    for (const std::string& line : script.rejectedLines) Log("rejected " + line);
    faxsim::ServerEnd server;
    std::string failure = server.Open();
    if (!failure.empty()) Log("error " + failure);
    // A service may come up before it can make its objects (a foreign object holding one of their
    // names): it tries again until it can or is stopped.
    while (!failure.empty()) {
      if (!mayRepeat || WaitForSingleObject(m_stop.get(), kOpenRetryMs) == WAIT_OBJECT_0) return;
      failure = server.Open();
    }
    Log("opened");
    const bool repeat = mayRepeat && Repeats(script);
    do {
      if (!RunScript(server, script, answerTimeoutMs)) return;
    } while (repeat);
  }

  void Stop() const { SetEvent(m_stop.get()); }
  void WaitForStop() const { WaitForSingleObject(m_stop.get(), INFINITE); }

  bool RegisterAsService(LPHANDLER_FUNCTION_EX onControl) {
    m_status = RegisterServiceCtrlHandlerExA(kServiceName, onControl, this);
    return m_status != nullptr;
  }
  void Report(DWORD state) const {
    SERVICE_STATUS status{};
    status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
    status.dwCurrentState = state;
    status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
    status.dwWaitHint = state == SERVICE_STOP_PENDING ? 5000 : 0;
    SetServiceStatus(m_status, &status);
  }

 private:
  // Runs the script once; false when stop was signalled meanwhile.
  bool RunScript(faxsim::ServerEnd& server, const faxsim::Script& script, DWORD answerTimeoutMs) const {
    for (const faxsim::Step& step : script.steps) {
      if (step.kind == faxsim::Step::Kind::Pause) {
        if (WaitForSingleObject(m_stop.get(), step.milliseconds) == WAIT_OBJECT_0) return false;
        continue;
      }
      Log("posted " + step.text);
      switch (server.Post(step.text, m_stop.get(), answerTimeoutMs)) {
        case faxsim::ServerEnd::Answer::Acknowledged:
          Log("acknowledged " + step.text);
          break;
        case faxsim::ServerEnd::Answer::TimedOut:
          Log("unacknowledged " + step.text);
          break;
        case faxsim::ServerEnd::Answer::Stopped:
          return false;
      }
    }
    return true;
  }

  // Paths as the UTF-16 command line gave them: the run folder may be named in any script.
  std::wstring m_scriptPath;
  std::wstring m_logPath;
  os::UniqueHandle m_stop;
  SERVICE_STATUS_HANDLE m_status = nullptr;  // not closed: the service manager owns it
};

// The service dispatcher calls ServiceMain without a context; it finds the simulator that main set up here.
Simulator* g_service = nullptr;

DWORD WINAPI OnControl(DWORD control, DWORD, LPVOID, LPVOID context) {
  if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
    const auto& simulator = *static_cast<const Simulator*>(context);
    simulator.Report(SERVICE_STOP_PENDING);
    simulator.Stop();
  }
  return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, LPSTR*) {
  Simulator& simulator = *g_service;
  if (!simulator.RegisterAsService(OnControl)) return;
  simulator.Report(SERVICE_RUNNING);
  // A service waits for the monitor as long as it runs; once the script is done it idles until stopped.
  simulator.Simulate(INFINITE, true);
  simulator.WaitForStop();
  simulator.Log("stopped");
  simulator.Report(SERVICE_STOPPED);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool console = argc == 4 && std::wstring(argv[1]) == L"--console";
  if (!console && argc != 3) {
    std::fputs("usage: faxsim.exe [--console] <script> <log>\n", stderr);
    return 2;
  }
  Simulator simulator(argv[argc - 2], argv[argc - 1]);
  if (console) {
    simulator.Simulate(kConsoleAnswerTimeoutMs, false);
    simulator.Log("stopped");
    return 0;
  }
  g_service = &simulator;
  std::string name = kServiceName;  // the table takes a writable name
  SERVICE_TABLE_ENTRYA services[] = {{name.data(), ServiceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherA(services)) {
    std::fprintf(stderr, "faxsim: not started as a service (error %lu); use --console\n", GetLastError());
    return 1;
  }
  return 0;
}
