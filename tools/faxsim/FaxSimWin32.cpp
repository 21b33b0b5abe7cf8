// Fax server simulator: the Windows service "TelvaroFaxService" that plays the server's side of the
// channel to the monitor. It posts the texts of a script and writes what happens to a log file:
//   faxsim.exe <script> <log>              as the service (the service's binary path and arguments)
//   faxsim.exe --console <script> <log>    in the foreground: runs the script once (even a repeating one)
//                                          and ends
// Log lines: "started", "posted <text>", "acknowledged <text>", "unacknowledged <text>",
// "rejected <line>", "error <step> <code>", "stopped".
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "ServerEndWin32.h"
#include "os/Owned.h"
#include "SimScript.h"

namespace {

char kServiceName[] = "TelvaroFaxService";
constexpr DWORD kConsoleAnswerTimeoutMs = 15000;

std::string g_scriptPath;
std::string g_logPath;
HANDLE g_stop = nullptr;
SERVICE_STATUS_HANDLE g_statusHandle = nullptr;

// One line at a time, opened and closed each time so that a test can read the file meanwhile.
void Log(const std::string& line) {
  const os::UniqueHandle file = os::AdoptFile(CreateFileA(g_logPath.c_str(), FILE_APPEND_DATA,
                                                         FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                                         FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

// Runs the script once; false when stop was signalled meanwhile.
bool RunScript(faxsim::ServerEnd& server, const faxsim::Script& script, DWORD answerTimeoutMs) {
  for (const faxsim::Step& step : script.steps) {
    if (step.kind == faxsim::Step::Kind::Pause) {
      if (WaitForSingleObject(g_stop, step.milliseconds) == WAIT_OBJECT_0) return false;
      continue;
    }
    Log("posted " + step.text);
    switch (server.Post(step.text, g_stop, answerTimeoutMs)) {
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

// A repeating script needs a pause to repeat: without one it would post as fast as the monitor answers.
bool Repeats(const faxsim::Script& script) {
  if (!script.repeat) return false;
  for (const faxsim::Step& step : script.steps) {
    if (step.kind == faxsim::Step::Kind::Pause && step.milliseconds > 0) return true;
  }
  return false;
}

void Simulate(DWORD answerTimeoutMs, bool mayRepeat) {
  Log("started");
  std::ifstream in(g_scriptPath);
  const faxsim::Script script = faxsim::ParseScript(in);
  for (const std::string& line : script.rejectedLines) Log("rejected " + line);
  faxsim::ServerEnd server;
  const std::string failure = server.Open();
  if (!failure.empty()) {
    Log("error " + failure);
    return;
  }
  Log("opened");
  const bool repeat = mayRepeat && Repeats(script);
  do {
    if (!RunScript(server, script, answerTimeoutMs)) return;
  } while (repeat);
}

void Report(DWORD state) {
  SERVICE_STATUS status{};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = state;
  status.dwControlsAccepted = state == SERVICE_RUNNING ? SERVICE_ACCEPT_STOP | SERVICE_ACCEPT_SHUTDOWN : 0;
  status.dwWaitHint = state == SERVICE_STOP_PENDING ? 5000 : 0;
  SetServiceStatus(g_statusHandle, &status);
}

DWORD WINAPI OnControl(DWORD control, DWORD, LPVOID, LPVOID) {
  if (control == SERVICE_CONTROL_STOP || control == SERVICE_CONTROL_SHUTDOWN) {
    Report(SERVICE_STOP_PENDING);
    SetEvent(g_stop);
  }
  return NO_ERROR;
}

void WINAPI ServiceMain(DWORD, LPSTR*) {
  g_statusHandle = RegisterServiceCtrlHandlerExA(kServiceName, OnControl, nullptr);
  if (!g_statusHandle) return;
  Report(SERVICE_RUNNING);
  // A service waits for the monitor as long as it runs; once the script is done it idles until stopped.
  Simulate(INFINITE, true);
  WaitForSingleObject(g_stop, INFINITE);
  Log("stopped");
  Report(SERVICE_STOPPED);
}

}  // namespace

int main(int argc, char** argv) {
  const bool console = argc == 4 && std::string(argv[1]) == "--console";
  if (!console && argc != 3) {
    std::fputs("usage: faxsim.exe [--console] <script> <log>\n", stderr);
    return 2;
  }
  g_scriptPath = argv[argc - 2];
  g_logPath = argv[argc - 1];
  g_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (console) {
    Simulate(kConsoleAnswerTimeoutMs, false);
    Log("stopped");
    return 0;
  }
  SERVICE_TABLE_ENTRYA services[] = {{kServiceName, ServiceMain}, {nullptr, nullptr}};
  if (!StartServiceCtrlDispatcherA(services)) {
    std::fprintf(stderr, "faxsim: not started as a service (error %lu); use --console\n", GetLastError());
    return 1;
  }
  return 0;
}
