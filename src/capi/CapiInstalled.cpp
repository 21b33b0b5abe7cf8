#include "capi/CapiInstalled.h"

namespace tfm {

bool IsCapiInstalled(const CapiEntryPoints& entryPoints) {
  return entryPoints.CAPI_INSTALLED && entryPoints.CAPI_INSTALLED() == 0;
}

}  // namespace tfm
