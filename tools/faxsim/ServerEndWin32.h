#pragma once
// The fax server's end of the channel: it opens the monitor's objects or creates them itself,
// writes texts into the shared block under the data mutex and runs the event handshake.
#include <windows.h>

#include <string>

#include "os/Owned.h"

namespace faxsim {

class ServerEnd {
 public:
  // Empty on success, else the step that failed and its error code.
  std::string Open();

  enum class Answer { Acknowledged, TimedOut, Stopped };
  // Posts one text (at most 256 bytes; shorter texts get their zero byte) and waits for the client
  // event, for stop being signalled or for the time-out.
  Answer Post(const std::string& text, HANDLE stop, DWORD timeoutMs);

 private:
  os::UniqueHandle m_map;
  os::UniqueView m_view;  // the 264-byte block
  os::UniqueHandle m_dataMutex;
  os::UniqueHandle m_serverEvent;
  os::UniqueHandle m_clientEvent;
};

}  // namespace faxsim
