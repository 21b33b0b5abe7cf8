// A COMMON-ISDN-API provider with no traffic, for tests: it reports a driver installed, registers
// applications, always has an empty queue and one controller. Built twice: complete, and without
// CAPI_GET_SERIAL_NUMBER (eight of the nine entry points), to exercise the loader's refusal.
#include <windows.h>

#include <cstring>

#define CAPI_EXPORT extern "C" __declspec(dllexport)

namespace {
constexpr DWORD kQueueEmpty = 0x1104;
constexpr DWORD kIllegalApplication = 0x1101;
constexpr DWORD kIllegalController = 0x2002;
LONG g_nextApplication = 0;
}  // namespace

CAPI_EXPORT DWORD WINAPI CAPI_INSTALLED() { return 0; }

CAPI_EXPORT DWORD WINAPI CAPI_REGISTER(DWORD, DWORD, DWORD, DWORD, DWORD* applId) {
  *applId = static_cast<DWORD>(InterlockedIncrement(&g_nextApplication));
  return 0;
}

CAPI_EXPORT DWORD WINAPI CAPI_RELEASE(DWORD applId) { return applId ? 0 : kIllegalApplication; }

CAPI_EXPORT DWORD WINAPI CAPI_PUT_MESSAGE(DWORD applId, void*) { return applId ? 0 : kIllegalApplication; }

CAPI_EXPORT DWORD WINAPI CAPI_GET_MESSAGE(DWORD applId, void** message) {
  *message = nullptr;
  return applId ? kQueueEmpty : kIllegalApplication;
}

// Profile: controller 0 gives the controller count; controller 1 has two B channels and supports
// HDLC (B1 bit 0), X.75 (B2 bit 0) and transparent B3 (bit 0).
CAPI_EXPORT DWORD WINAPI CAPI_GET_PROFILE(void* buffer, DWORD controller) {
  BYTE* profile = static_cast<BYTE*>(buffer);
  std::memset(profile, 0, 64);
  if (controller == 0) {
    profile[0] = 1;
    return 0;
  }
  if (controller != 1) return kIllegalController;
  profile[2] = 2;
  profile[4] = 0x01;
  profile[8] = 0x01;
  profile[12] = 0x01;
  profile[16] = 0x01;
  return 0;
}

CAPI_EXPORT DWORD WINAPI CAPI_GET_VERSION(DWORD* capiMajor, DWORD* capiMinor, DWORD* manuMajor, DWORD* manuMinor) {
  *capiMajor = 2;
  *capiMinor = 0;
  *manuMajor = 1;
  *manuMinor = 0;
  return 0;
}

CAPI_EXPORT void WINAPI CAPI_GET_MANUFACTURER(char* buffer) { std::strcpy(buffer, "Quiet test provider"); }

#if !defined(TFM_WITHOUT_SERIAL_NUMBER)
CAPI_EXPORT DWORD WINAPI CAPI_GET_SERIAL_NUMBER(char* buffer) {
  std::strcpy(buffer, "0000001");
  return 0;
}
#endif
