#pragma once
// The fax server's end of the channel: it opens the monitor's objects or creates them itself,
// writes texts into the shared block under the data mutex and runs the event handshake.
#include <windows.h>

#include <string>

namespace faxsim {

class ServerEnd {
 public:
  ServerEnd() = default;
  ServerEnd(const ServerEnd&) = delete;
  ServerEnd& operator=(const ServerEnd&) = delete;
  ~ServerEnd();

  // Empty on success, else the step that failed and its error code.
  std::string Open();

  enum class Answer { Acknowledged, TimedOut, Stopped };
  // Posts one text (at most 256 bytes; shorter texts get their zero byte) and waits for the client
  // event, for stop being signalled or for the time-out.
  Answer Post(const std::string& text, HANDLE stop, DWORD timeoutMs);

 private:
  HANDLE m_map = nullptr;
  unsigned char* m_block = nullptr;
  HANDLE m_dataMutex = nullptr;
  HANDLE m_serverEvent = nullptr;
  HANDLE m_clientEvent = nullptr;
};

}  // namespace faxsim
