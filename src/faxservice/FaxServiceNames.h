#pragma once
// Names of the fax server's service and channel objects, shared by the probe, the poller and the channel.
#include <cstdint>
#include <string>

namespace tfm {

inline constexpr const char* kFaxServiceName = "TelvaroFaxService";
inline constexpr const char* kChannelBaseName = "TelvaroFaxServer";

// The shared block: 8 bytes reserved for the server, then the status text up to the end of the block.
inline constexpr size_t kSharedBlockLength = 264;
inline constexpr size_t kServerTextOffset = 8;

struct ChannelObjectNames {
  std::string map;
  std::string dataMutex;
  std::string raceMutex;
  std::string serverEvent;
  std::string clientEvent;
};

// Codes above 108 put the mapping and the mutexes into the "Global\" namespace; the events are
// always there, since the server (a service in another session) must see them.
ChannelObjectNames BuildObjectNames(const std::string& baseName, int32_t osVersionCode);

}  // namespace tfm
