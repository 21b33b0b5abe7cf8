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
  const std::string text = ServerTextFromBlock(block);
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
    } else if (wait == ServerEventWait::Failed) {
      // Nothing to wait on any more: linger until the workers stop or the channel is declared down,
      // looking at the flags once per wait period rather than spinning.
      while (flags.workersRunning != 0 && flags.channelReady != 0) sleep(kListenerWaitMs);
      return 0;
    }
    // A server that keeps its event signalled must not keep the listener from seeing the stop.
    if (wait == ServerEventWait::Stopped || flags.workersRunning == 0) return 0;
  }
}

}  // namespace tfm
