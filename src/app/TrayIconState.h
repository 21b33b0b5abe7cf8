#pragma once
// The tray icon's state rules, apart from the shell: which requests reach the notification area and
// what is only stored while the icon is hidden. The Win32 tray feeds these requests to
// Shell_NotifyIconW; tests record them.
#include <cstddef>
#include <cstdint>
#include <string>

namespace tfm {

// Flags of the notification record, the platform's values.
inline constexpr uint32_t kNifMessage = 1;
inline constexpr uint32_t kNifIcon = 2;
inline constexpr uint32_t kNifTip = 4;
inline constexpr uint32_t kNifInfo = 0x10;

struct TrayRecord {
  void* ownerWindow = nullptr;
  uint32_t iconId = 0;
  uint32_t flags = 0;
  uint32_t callbackMessage = 0;
  void* icon = nullptr;
  // UTF-8, each cut to what its field of the shell's record holds (see the capacities below).
  std::string tip;
  std::string infoTitle;  // the balloon's title and text
  std::string info;
};

// The shell's fields in UTF-16 units, the terminating zero included.
inline constexpr size_t kTipCapacity = 128;
inline constexpr size_t kInfoTitleCapacity = 64;
inline constexpr size_t kInfoCapacity = 256;

class ITrayShell {
 public:
  virtual bool Add(const TrayRecord& record) = 0;
  virtual bool Modify(const TrayRecord& record) = 0;
  virtual bool Delete(const TrayRecord& record) = 0;
  // Asks for the keyboard's and the anchor's callback form (NOTIFYICON_VERSION_4) for an added icon.
  virtual bool SetVersion(const TrayRecord& record) = 0;

 protected:
  ~ITrayShell() = default;
};

class TrayIconState {
 public:
  // platformHasTray: the platform's major version is 4 or later.
  bool Install(ITrayShell& shell, bool platformHasTray, void* ownerWindow, uint32_t callbackMessage,
               const char* tip, void* icon, uint32_t iconId);
  bool ChangeIcon(ITrayShell& shell, void* icon);
  bool ChangeTip(ITrayShell& shell, const char* text);
  // Only a shown icon carries a balloon; false, and nothing sent, while it is hidden.
  bool ShowBalloon(ITrayShell& shell, const char* title, const char* text);
  bool Uninstall(ITrayShell& shell);
  // The shell's taskbar was created again ("TaskbarCreated"), or a refused add is tried again: adds the
  // icon with the current picture and tip, or updates or replaces it when the shell still has it.
  // False when there is no icon to put back (not installed, or removed).
  bool OnShellRestart(ITrayShell& shell);
  // A system setting changed; SPI_SETWORKAREA re-adds an icon that is still pending.
  void OnSettingChange(ITrayShell& shell, uint32_t flag);
  // The IPC listener's own marking before it shows a server text.
  void MarkEnabledAndShown();

  bool enabled() const { return m_enabled; }
  bool hidden() const { return m_hidden; }
  bool removed() const { return m_removed; }
  // An add was refused and the icon is still wanted: the next "TaskbarCreated" tries again.
  bool readdPending() const { return m_readdPending; }
  const TrayRecord& record() const { return m_record; }
  // The shell took the version for the icon as last added: its callbacks come in that form.
  bool keyboardVersion() const { return m_keyboardVersion; }

 private:
  void AddAgain(ITrayShell& shell);
  // An icon the shell added afresh starts at the oldest version: every add is followed by the request.
  void AfterAdd(ITrayShell& shell, bool added);

  bool m_enabled = false;
  bool m_hidden = true;
  TrayRecord m_record;
  bool m_removed = true;
  bool m_readdPending = false;
  uint32_t m_creationFlags = 0;
  bool m_keyboardVersion = false;
};

}  // namespace tfm
