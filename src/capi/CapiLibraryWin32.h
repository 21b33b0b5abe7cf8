#pragma once
#include "capi/CapiEntryPoints.h"
#include "os/Owned.h"

namespace tfm {

// The provider library "capi2032.dll" and its nine entry points. The object owns the module: the
// table it hands out is valid while the object lives and holds no provider after a failed load.
class CapiLibrary {
 public:
  // Unloads any provider loaded before, then loads "capi2032.dll" from the library search path and
  // resolves the nine entry points in order. When one name is missing the library is unloaded again
  // and the table stays empty.
  bool Load();

  bool IsLoaded() const { return static_cast<bool>(m_module); }
  const CapiEntryPoints& EntryPoints() const { return m_entryPoints; }

 private:
  os::UniqueModule m_module;
  CapiEntryPoints m_entryPoints;
};

}  // namespace tfm
