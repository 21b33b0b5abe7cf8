#pragma once
#include "capi/CapiEntryPoints.h"
#include "capi/CapiInstalled.h"

namespace tfm {

// Loads "capi2032.dll" from the library search path and resolves the nine entry points in order.
// When one name is missing the library is unloaded again and the table stays empty.
bool LoadCapiLibrary(CapiEntryPoints& entryPoints);

}  // namespace tfm
