#include "faxservice/IpcListener.h"

#include <cstring>

#include "faxservice/FaxServiceNames.h"

namespace tfm {

std::string ServerTextFromBlock(const unsigned char* block) {
  constexpr size_t kTextArea = kSharedBlockLength - kServerTextOffset;
  const auto* text = reinterpret_cast<const char*>(block + kServerTextOffset);
  const void* end = std::memchr(text, 0, kTextArea);
  return std::string(text, end ? static_cast<const char*>(end) - text : kTextArea);
}

std::string FormatServerTip(const std::string& text) { return " " + text + " "; }

namespace {

void ShowServerText(IServerEventPort& channel, ITrayPort* tray) {
  const unsigned char* block = channel.CurrentBlock();
  if (!block || !tray) return;
  const std::string text = channel.TextFromServerBytes(ServerTextFromBlock(block));
  if (text.empty()) return;
  tray->MarkEnabledAndShown();
  tray->ChangeTip(FormatServerTip(text).c_str());
}

}  // namespace

uint32_t RunIpcListener(IServerEventPort& channel, ITrayPort* tray, const SharedFlags& flags,
                        const SleepFunction& sleep) {
  for (;;) {
    const ServerEventWait wait = channel.WaitForServerEvent(kListenerWaitMs);
    if (wait == ServerEventWait::Signalled) {
      ShowServerText(channel, tray);
      // The server waits for this answer whether or not there was anything to show.
      channel.SetClientEvent();
      // One text per slice: a server that leaves its event signalled cannot make the listener spin.
      sleep(kListenerWaitMs);
    } else if (wait == ServerEventWait::Failed) {
      // Nothing to wait on yet (the events are not connected, or a foreign object holds their names):
      // the poller connects them when it can, and the next wait takes them up.
      sleep(kListenerWaitMs);
    }
    if (wait == ServerEventWait::Stopped || flags.workersRunning == 0) return 0;
  }
}

}  // namespace tfm
