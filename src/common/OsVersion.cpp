#include "common/OsVersion.h"

namespace tfm {
namespace {

constexpr uint32_t kPlatformWindows95 = 1;
constexpr uint32_t kPlatformNt = 2;

int32_t Windows95Code(const OsVersionInfo& info) {
  switch (info.minor) {
    case 0: return info.build < 1081 ? 1 : 2;
    case 10: return info.build < 2222 ? 3 : 4;
    case 90: return 5;
    default: return 6;
  }
}

int32_t Nt4Code(uint32_t servicePack) {
  switch (servicePack) {
    case 0x000: return 102;
    case 0x100: return 103;
    case 0x200: return 104;
    case 0x300: return 105;
    case 0x400: return 106;
    case 0x500: return 107;
    case 0x600: return 108;
    default: return 109;
  }
}

int32_t Nt50Code(const OsVersionInfo& info, ServicePackReader readServicePack) {
  if (info.build < 2195) return 201;
  switch (readServicePack() & 0xFFFF) {
    case 0x100: return 203;
    case 0x200: return 204;
    case 0x300: return 205;
    default: return 202;
  }
}

int32_t Nt51Code(const OsVersionInfo& info, ServicePackReader readServicePack) {
  if (info.build < 2600) return 301;
  return (readServicePack() & 0xFFFF) == 0x100 ? 303 : 302;
}

int32_t NtCode(const OsVersionInfo& info, ServicePackReader readServicePack) {
  if (info.major == 3) return 101;
  if (info.major == 4) return Nt4Code(readServicePack() & 0xFFFF);
  if (info.major > 5) return 901;
  if (info.major == 5) {
    switch (info.minor) {
      case 0: return Nt50Code(info, readServicePack);
      case 1: return Nt51Code(info, readServicePack);
      case 2: return 401;
      default: return 0;
    }
  }
  return 0;
}

}  // namespace

int32_t GetOsVersionCode(const OsVersionInfo& info, ServicePackReader readServicePack) {
  if (!info.valid) return 0;
  if (info.platformId == kPlatformWindows95) return Windows95Code(info);
  if (info.platformId == kPlatformNt) return NtCode(info, readServicePack);
  return 0;
}

}  // namespace tfm
