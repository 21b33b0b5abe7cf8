#include "devices/ModemRegistry.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "devices/RegistryEx.h"

namespace tfm {
namespace {

constexpr const char* kModemClassGuid = "{4D36E96D-E325-11CE-BFC1-08002BE10318}";
constexpr const char* kNtClassPath = "SYSTEM\\CurrentControlSet\\Control\\Class\\";
constexpr const char* k9xClassPath = "SYSTEM\\CurrentControlSet\\Services\\Class\\Modem\\";
constexpr const char* kVirtualModemMarker = "IP Virtual Modem";
// Values larger than this are not texts a modem key holds; reading them gives the default.
constexpr uint32_t kMaxTextValueLength = 1u << 20;
constexpr uint32_t kDcbBufferLength = 256;
constexpr uint32_t kDcbCapacity = 255;
constexpr int32_t kAcceptedSpeeds[] = {110, 300, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
}

}  // namespace

bool IsCountedModemModel(const std::string& model) {
  return !model.empty() && model.find(kVirtualModemMarker) == std::string::npos;
}

int32_t ParsePortNumber(const std::string& portText) {
  int64_t port = 0;
  for (size_t i = 3; i < portText.size() && portText[i] >= '0' && portText[i] <= '9'; ++i) {
    port = port * 10 + (portText[i] - '0');
    if (port > INT32_MAX) return 0;
  }
  return static_cast<int32_t>(port);
}

int32_t SpeedFromDcb(const uint8_t* dcb, uint32_t length) {
  if (length < 8) return 0;
  const uint32_t baud = dcb[4] | (dcb[5] << 8) | (dcb[6] << 16) | (static_cast<uint32_t>(dcb[7]) << 24);
  const auto* end = std::end(kAcceptedSpeeds);
  return std::find(std::begin(kAcceptedSpeeds), end, static_cast<int64_t>(baud)) != end ? static_cast<int32_t>(baud)
                                                                                          : 0;
}

CModemRegistry::CModemRegistry(IRegistry& registry, uint32_t platformId)
    : m_registry(registry), m_platformId(platformId) {}

std::string CModemRegistry::ReadRegString(const std::string& keyPath, const char* valueName,
                                          const std::string& defaultText, RegKey root) const {
  int32_t opened = kRegSuccess;
  const RegistryKey key = m_registry.Open(root, keyPath.c_str(), kKeyRead, opened);
  if (opened != kRegSuccess) return defaultText;
  std::string result = defaultText;
  uint32_t size = 0;
  if (m_registry.QueryValue(key.get(), valueName, nullptr, nullptr, &size) == kRegSuccess &&
      size <= kMaxTextValueLength) {
    std::vector<char> buffer(size);
    uint32_t length = size;
    if (m_registry.QueryValue(key.get(), valueName, nullptr, reinterpret_cast<uint8_t*>(buffer.data()), &length) ==
            kRegSuccess &&
        length <= size) {
      result.assign(buffer.begin(), std::find(buffer.begin(), buffer.begin() + length, '\0'));
    }
  }
  return result;
}

std::string CModemRegistry::GetModemClassGuid() { return kModemClassGuid; }

std::string CModemRegistry::FormatInstanceKey(int32_t instance) {
  const std::string number = std::to_string(instance);
  const std::string pad = "0000";
  return pad.substr(0, pad.size() - std::min(pad.size(), number.size())) + number;
}

std::string CModemRegistry::GetModemKeyPath(int32_t instance) const {
  if (m_platformId == kPlatformWindows9x) return k9xClassPath + FormatInstanceKey(instance);
  return kNtClassPath + GetModemClassGuid() + "\\" + FormatInstanceKey(instance);
}

std::string CModemRegistry::ReadModemValue(int32_t instance, const char* valueName) const {
  return ReadRegString(GetModemKeyPath(instance), valueName, {}, kLocalMachine);
}

std::string CModemRegistry::ReadSettingsValue(const std::string& name, const char* valueName) const {
  return ReadRegString(GetModemKeyPath(FindModemIndex(name)) + "\\Settings", valueName, {}, kLocalMachine);
}

std::string CModemRegistry::GetModemModel(int32_t instance) const { return ReadModemValue(instance, "Model"); }

int32_t CModemRegistry::GetModemPort(int32_t instance) const {
  const std::string attachedTo = ReadModemValue(instance, "AttachedTo");
  if (!attachedTo.empty()) return ParsePortNumber(attachedTo);

  CRegistryEx root(m_registry, kLocalMachine);
  if (!root.Open(kLocalMachine, "")) return 0;
  const std::string deviceKey = root.FindKeyWithValue("Enum", "Driver", "Modem\\" + FormatInstanceKey(instance));
  int32_t port = 0;
  if (!deviceKey.empty()) {
    const std::string portName = ReadRegString(deviceKey, "PORTNAME", {}, kLocalMachine);
    if (!portName.empty()) port = ParsePortNumber(portName);
  }
  return port;
}

int32_t CModemRegistry::CountModems() const {
  int32_t count = 0;
  for (int32_t i = 0; i < kMaxInstances; ++i) {
    if (IsCountedModemModel(GetModemModel(i))) ++count;
  }
  return count;
}

int32_t CModemRegistry::FindModemIndex(const std::string& name) const {
  if (name.empty()) return -1;
  const std::string wanted = ToUpperAscii(name);
  for (int32_t i = 0; i < kMaxInstances; ++i) {
    if (ToUpperAscii(GetModemModel(i)) == wanted && GetModemPort(i) > 0) return i;
  }
  return -1;
}

int32_t CModemRegistry::GetModemPortByName(const std::string& name) const { return GetModemPort(FindModemIndex(name)); }

int32_t CModemRegistry::GetModemSpeed(const std::string& name) const {
  CRegistryEx key(m_registry, kLocalMachine);
  if (!key.Open(kLocalMachine, GetModemKeyPath(FindModemIndex(name)))) return 0;
  std::vector<uint8_t> dcb(kDcbBufferLength);
  int32_t speed = 0;
  if (key.QueryBinaryValue("DCB", dcb.data(), kDcbCapacity)) speed = SpeedFromDcb(dcb.data(), key.LastSize());
  return speed;
}

std::string CModemRegistry::GetModemInitString(const std::string& name) const {
  std::string callSetup = ReadSettingsValue(name, "CallSetupFailTimer");
  ReplaceAll(callSetup, "<#>", "60");
  std::string inactivity = ReadSettingsValue(name, "InactivityTimeout");
  ReplaceAll(inactivity, "<#>", "0");
  std::string init = "AT" + callSetup + inactivity;
  for (const char* value : {"ErrorControl_On", "Compression_On", "FlowControl_Hard", "Modulation_CCITT", "Blind_Off"}) {
    init += ReadSettingsValue(name, value);
  }
  return init + "<cr>";
}

std::string CModemRegistry::GetModemResetString(const std::string& name) const {
  const std::string reset = ReadModemValue(FindModemIndex(name), "Reset");
  return ToUpperAscii(reset) == "NONE" ? std::string() : reset;
}

bool CModemRegistry::HasSpeaker(const std::string& name) const {
  return !ReadSettingsValue(name, "SpeakerMode_Dial").empty() && !ReadSettingsValue(name, "SpeakerMode_OFF").empty();
}

int32_t CModemRegistry::GetSpeakerVolumeLevels(const std::string& name) const {
  int32_t levels = 0;
  for (const char* value : {"SpeakerVolume_Low", "SpeakerVolume_Med", "SpeakerVolume_High"}) {
    if (!ReadSettingsValue(name, value).empty()) ++levels;
  }
  return levels;
}

}  // namespace tfm
