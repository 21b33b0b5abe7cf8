#pragma once
// The IPC listener's body, apart from the threads and the platform: waits for the server's signal,
// shows the server's text in the tooltip and answers with the client event.
#include <cstdint>
#include <string>
#include <string_view>

#include "common/SharedFlags.h"
#include "common/TrayPort.h"
#include "faxservice/ServicePoller.h"

namespace tfm {

inline constexpr uint32_t kListenerWaitMs = 100;

// Stopped: the workers were told to stop while the listener waited.
enum class ServerEventWait { Signalled, TimedOut, Failed, Stopped };

class IServerEventPort {
 public:
  // Waits on the server event as it is now (the poller may have opened it since the last wait) and on
  // the workers' stop signal.
  virtual ServerEventWait WaitForServerEvent(uint32_t timeoutMs) = 0;
  // The shared block (kSharedBlockLength bytes) as it is now, or null when no view is mapped.
  virtual const unsigned char* CurrentBlock() = 0;
  // The server's text bytes as UTF-8: the server is an 8-bit program and writes in the system's ANSI
  // code page.
  virtual std::string TextFromServerBytes(std::string_view bytes) const = 0;
  virtual void SetClientEvent() = 0;

 protected:
  ~IServerEventPort() = default;
};

// The text bytes at offset 8 of a shared block, up to its zero byte or the end of the block.
std::string ServerTextFromBlock(const unsigned char* block);

// The tooltip for a server text: one blank on each side. The tray keeps as many whole characters as
// its 127 UTF-16 units hold.
std::string FormatServerTip(const std::string& text);

// Runs until workersRunning is found 0 after a wait, or the wait reports the stop. A handled text and a
// failed wait (no events to wait on yet) are each followed by one wait period of sleep.
uint32_t RunIpcListener(IServerEventPort& channel, ITrayPort* tray, const SharedFlags& flags,
                        const SleepFunction& sleep);

}  // namespace tfm
