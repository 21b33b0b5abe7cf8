#include "app/TrayIconState.h"

#include "common/TextFit.h"

namespace tfm {
namespace {

// As much of text as its field holds with the terminating zero; null is empty.
std::string Fit(const char* text, size_t capacity) { return FitUtf16Units(text ? text : "", capacity - 1); }

}  // namespace

bool TrayIconState::Install(ITrayShell& shell, bool platformHasTray, void* ownerWindow, uint32_t callbackMessage,
                            const char* tip, void* icon, uint32_t iconId) {
  m_enabled = platformHasTray;
  if (!m_enabled) return false;
  m_record.ownerWindow = ownerWindow;
  m_record.iconId = iconId;
  m_record.icon = icon;
  m_record.callbackMessage = callbackMessage;
  m_record.flags = kNifMessage | kNifIcon | kNifTip;
  m_record.tip = Fit(tip, kTipCapacity);
  m_hidden = false;
  m_creationFlags = m_record.flags;
  const bool added = shell.Add(m_record);
  m_hidden = m_readdPending = m_removed = !added;
  AfterAdd(shell, added);
  return added;
}

bool TrayIconState::ChangeIcon(ITrayShell& shell, void* icon) {
  if (!m_enabled) return false;
  m_record.icon = icon;
  m_record.flags = kNifIcon;
  return m_hidden || shell.Modify(m_record);
}

bool TrayIconState::ChangeTip(ITrayShell& shell, const char* text) {
  if (!m_enabled) return false;
  m_record.flags = kNifTip;
  m_record.tip = Fit(text, kTipCapacity);
  return m_hidden || shell.Modify(m_record);
}

bool TrayIconState::ShowBalloon(ITrayShell& shell, const char* title, const char* text) {
  if (!m_enabled || m_hidden) return false;
  m_record.flags = kNifInfo;
  m_record.infoTitle = Fit(title, kInfoTitleCapacity);
  m_record.info = Fit(text, kInfoCapacity);
  return shell.Modify(m_record);
}

bool TrayIconState::Uninstall(ITrayShell& shell) {
  m_readdPending = false;
  if (!m_enabled || m_removed) return true;
  m_record.flags = 0;
  if (shell.Delete(m_record)) m_hidden = m_removed = true;
  return m_removed;
}

void TrayIconState::AddAgain(ITrayShell& shell) {
  m_record.flags = m_creationFlags;
  // Any program may send "TaskbarCreated": when the icon is still there the add is refused, and
  // updating it (or, failing that, replacing it) keeps it following the program.
  bool added = shell.Add(m_record);
  bool shown = added || shell.Modify(m_record);
  if (!shown) {
    shell.Delete(m_record);
    shown = added = shell.Add(m_record);
  }
  if (added) AfterAdd(shell, true);
  m_hidden = m_readdPending = !shown;
  if (shown) m_removed = false;
}

void TrayIconState::AfterAdd(ITrayShell& shell, bool added) {
  m_keyboardVersion = added && shell.SetVersion(m_record);
}

bool TrayIconState::OnShellRestart(ITrayShell& shell) {
  // Nothing to put back before the install or after the removal; an icon whose add was refused, at
  // the install or at an earlier restart, is tried again.
  if (!m_enabled || (m_removed && !m_readdPending)) return false;
  AddAgain(shell);
  return true;
}

void TrayIconState::OnSettingChange(ITrayShell& shell, uint32_t flag) {
  constexpr uint32_t kSpiSetWorkArea = 47;
  if (flag == kSpiSetWorkArea && m_readdPending && !m_hidden) AddAgain(shell);
}

void TrayIconState::MarkEnabledAndShown() {
  m_enabled = true;
  m_hidden = false;
}

}  // namespace tfm
