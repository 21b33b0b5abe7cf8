#pragma once
#include "capi/CapiEntryPoints.h"

namespace tfm {

// True exactly when the provider's CAPI_INSTALLED returns 0 (an unresolved entry point counts as not
// installed).
bool IsCapiInstalled(const CapiEntryPoints& entryPoints);

}  // namespace tfm
