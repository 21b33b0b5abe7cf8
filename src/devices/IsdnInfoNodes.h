#pragma once
// The content of the "ISDN Devices" tab: what the COMMON-ISDN-API driver reports about itself and
// each controller, as a tree of texts. Gathering (driver calls) and building (pure) are apart, so the
// tree can be built from test data without a driver.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "capi/CapiEntryPoints.h"
#include "devices/TreeNode.h"

namespace tfm {

inline constexpr const char* kNoCapiInstalledText = "No CAPI Installed.";
struct CapiVersion {
  uint32_t interfaceMajor = 0;
  uint32_t interfaceMinor = 0;
  uint32_t manufacturerMajor = 0;
  uint32_t manufacturerMinor = 0;
};

struct ControllerProfile {
  uint32_t controller = 0;
  std::optional<CapiProfile> profile;  // empty when the profile query failed
};

struct IsdnInfo {
  bool capiAvailable = false;
  uint32_t installedResult = 0;  // CAPI_INSTALLED: 0 means installed and ready
  CapiVersion version;
  uint32_t controllerCount = 0;
  std::vector<ControllerProfile> controllers;
};

struct IsdnInfoTree {
  TreeNodeList nodes;
  // The driver has gone since start-up: the page shows kNoCapiInstalledText and stays empty.
  bool driverGone = false;
};

// GetCAPIProfile of the ISDN monitor: fills the 64-byte record of a controller, returns the Info value.
using ProfileQuery = std::function<uint32_t(uint32_t controller, uint8_t* profile)>;

// Asks the driver in the page's order: installed, version, controller 0's profile (directly), then
// each controller's profile through getProfile. Nothing is asked when capiAvailable is false or the
// driver is not installed. A failed version query leaves the numbers 0; a failed controller-0 query
// gives 0 controllers.
IsdnInfo GatherIsdnInfo(bool capiAvailable, const CapiEntryPoints& capi, const ProfileQuery& getProfile);

IsdnInfoTree BuildIsdnInfoNodes(const IsdnInfo& info);

}  // namespace tfm
