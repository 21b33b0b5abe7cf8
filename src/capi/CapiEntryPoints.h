#pragma once
// The nine COMMON-ISDN-API 2.0 entry points, resolved by name from the provider library at start-up
// and read-only afterwards. On Windows they are stdcall (APIENTRY), as the standard's Windows binding
// fixes; the i686 build checks that at compile time.
#include <array>
#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define CAPI_CALL __stdcall
#else
#define CAPI_CALL
#endif

namespace tfm {

// The standard's DWORD: unsigned long on Windows (as in the provider's exports), 32 bits everywhere.
#if defined(_WIN32)
using CapiDword = unsigned long;
#else
using CapiDword = uint32_t;
#endif
static_assert(sizeof(CapiDword) == 4);

// The provider's exports; every pointer null when no provider is loaded.
struct CapiEntryPoints {
  CapiDword(CAPI_CALL* CAPI_GET_VERSION)(CapiDword* capiMajor, CapiDword* capiMinor, CapiDword* manufacturerMajor,
                                        CapiDword* manufacturerMinor) = nullptr;
  void(CAPI_CALL* CAPI_GET_MANUFACTURER)(char* buffer) = nullptr;
  CapiDword(CAPI_CALL* CAPI_GET_SERIAL_NUMBER)(char* buffer) = nullptr;
  CapiDword(CAPI_CALL* CAPI_GET_PROFILE)(void* buffer, CapiDword controller) = nullptr;
  CapiDword(CAPI_CALL* CAPI_INSTALLED)() = nullptr;
  CapiDword(CAPI_CALL* CAPI_REGISTER)(CapiDword messageBufferSize, CapiDword maxLogicalConnections,
                                     CapiDword maxBDataBlocks, CapiDword maxBDataLength, CapiDword* applId) = nullptr;
  CapiDword(CAPI_CALL* CAPI_RELEASE)(CapiDword applId) = nullptr;
  CapiDword(CAPI_CALL* CAPI_PUT_MESSAGE)(CapiDword applId, void* message) = nullptr;
  CapiDword(CAPI_CALL* CAPI_GET_MESSAGE)(CapiDword applId, void** message) = nullptr;
};

// The exported names, in the order CapiLibrary::Load resolves them.
inline constexpr const char* kCapiEntryPointNames[] = {
    "CAPI_GET_VERSION", "CAPI_GET_MANUFACTURER", "CAPI_GET_SERIAL_NUMBER",
    "CAPI_GET_PROFILE", "CAPI_INSTALLED",        "CAPI_REGISTER",
    "CAPI_RELEASE",     "CAPI_PUT_MESSAGE",      "CAPI_GET_MESSAGE"};

// The profile record that CAPI_GET_PROFILE fills.
inline constexpr size_t kCapiProfileLength = 64;
using CapiProfile = std::array<uint8_t, kCapiProfileLength>;

// Info values of the standard that the binding and the message layer use.
inline constexpr uint32_t kCapiQueueEmpty = 0x1104;
inline constexpr uint32_t kCapiQueueOverflow = 0x1105;  // a message was lost
inline constexpr uint32_t kCapiIllegalCommand = 0x1102;
inline constexpr uint32_t kCapiIllegalParameterCoding = 0x2007;

}  // namespace tfm
