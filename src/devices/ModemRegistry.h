#pragma once
// Modem discovery from the modem class keys of the local-machine registry. Nothing is cached: every
// question reads the registry afresh, so a modem installed while the program runs is seen at once.
// Name-based questions resolve the model with FindModemIndex first; a name that matches no instance
// with a port reads from a key that does not exist and so returns the defaults.
#include <cstdint>
#include <string>

#include "devices/RegistryApi.h"

namespace tfm {

// The platform id that the version query reports; the Windows 95 family keeps its modems elsewhere.
inline constexpr uint32_t kPlatformWindows9x = 1;

class CModemRegistry {
 public:
  static constexpr int32_t kMaxInstances = 10;

  // platformId: what the version query reported at start-up (0 when it failed).
  CModemRegistry(IRegistry& registry, uint32_t platformId);

  // The text of a value, up to its first zero byte; default when the key or value cannot be read.
  std::string ReadRegString(const std::string& keyPath, const char* valueName, const std::string& defaultText,
                            RegKey root) const;

  static std::string GetModemClassGuid();
  // Instance number as a key name: "0000" to "0009".
  static std::string FormatInstanceKey(int32_t instance);
  std::string GetModemKeyPath(int32_t instance) const;

  std::string GetModemModel(int32_t instance) const;
  int32_t GetModemPort(int32_t instance) const;
  int32_t CountModems() const;
  // Lowest instance whose model equals name without regard to case and which has a port; -1 if none.
  int32_t FindModemIndex(const std::string& name) const;

  int32_t GetModemPortByName(const std::string& name) const;
  int32_t GetModemSpeed(const std::string& name) const;
  std::string GetModemInitString(const std::string& name) const;
  std::string GetModemResetString(const std::string& name) const;
  bool HasSpeaker(const std::string& name) const;
  int32_t GetSpeakerVolumeLevels(const std::string& name) const;

 private:
  std::string ReadModemValue(int32_t instance, const char* valueName) const;
  std::string ReadSettingsValue(const std::string& name, const char* valueName) const;

  IRegistry& m_registry;
  uint32_t m_platformId;
};

// The counting rule: a model is a modem unless it is empty or holds "IP Virtual Modem" (exact case).
bool IsCountedModemModel(const std::string& model);

// The COM number of a port text such as "COM12": the leading digits after its first three characters,
// 0 when there are none or they do not fit.
int32_t ParsePortNumber(const std::string& portText);

// The baud rate of a stored serial control block: the little-endian word at offset 4 when it is an
// accepted speed, 0 otherwise (also for a block too short to hold it).
int32_t SpeedFromDcb(const uint8_t* dcb, uint32_t length);

}  // namespace tfm
