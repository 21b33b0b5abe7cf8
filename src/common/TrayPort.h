#pragma once
// What the workers (service poller, IPC listener, ISDN monitor) may ask of the tray icon.
// The Win32 tray implements it; native tests use recording fakes.

namespace tfm {

class ITrayPort {
 public:
  // Icon resource id: 147 service running, 153 service stopped.
  virtual bool ChangeIcon(unsigned iconId) = 0;
  // The first 127 bytes of text become the tooltip.
  virtual bool ChangeTip(const char* text) = 0;
  // The listener marks the icon enabled and shown before it sets a server text.
  virtual void MarkEnabledAndShown() = 0;
  // A balloon beside the icon (a notification on later systems) with the first 63 bytes of title and
  // 255 of text. Nothing is shown, and false returned, while the icon is hidden: a balloon is news of
  // the moment and is not kept for later.
  virtual bool ShowBalloon(const char* title, const char* text) = 0;

 protected:
  ~ITrayPort() = default;
};

}  // namespace tfm
