#pragma once
// The registry seam on the Windows registry.
#include "devices/RegistryApi.h"

namespace tfm {

class RegistryWin32 final : public IRegistry {
 public:
  int32_t OpenKey(RegKey parent, const char* path, uint32_t access, RegKey* key) override;
  void CloseKey(RegKey key) override;
  int32_t QueryValue(RegKey key, const char* name, uint32_t* type, uint8_t* data, uint32_t* size) override;
  int32_t QuerySubKeyCount(RegKey key, uint32_t* count) override;
  int32_t EnumKey(RegKey key, uint32_t index, char* name, uint32_t* capacity) override;
  std::string ErrorText(int32_t code) override;
};

}  // namespace tfm
