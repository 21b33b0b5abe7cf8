#include "capi/CapiLibraryWin32.h"

#include <windows.h>

#include <type_traits>
#include <utility>

#include "common/Trace.h"

namespace tfm {

#if defined(_WIN32) && !defined(_WIN64)
// Only the i686 build can tell stdcall from cdecl: a mismatch would corrupt the stack on every call.
static_assert(std::is_same_v<decltype(CapiEntryPoints::CAPI_REGISTER),
                             DWORD(WINAPI*)(DWORD, DWORD, DWORD, DWORD, DWORD*)>);
static_assert(std::is_same_v<decltype(CapiEntryPoints::CAPI_RELEASE), DWORD(WINAPI*)(DWORD)>);
static_assert(std::is_same_v<decltype(CapiEntryPoints::CAPI_PUT_MESSAGE), DWORD(WINAPI*)(DWORD, void*)>);
static_assert(std::is_same_v<decltype(CapiEntryPoints::CAPI_GET_MESSAGE), DWORD(WINAPI*)(DWORD, void**)>);
static_assert(std::is_same_v<decltype(CapiEntryPoints::CAPI_GET_PROFILE), DWORD(WINAPI*)(void*, DWORD)>);
static_assert(std::is_same_v<decltype(CapiEntryPoints::CAPI_INSTALLED), DWORD(WINAPI*)()>);
static_assert(std::is_same_v<decltype(CapiEntryPoints::CAPI_GET_VERSION),
                             DWORD(WINAPI*)(DWORD*, DWORD*, DWORD*, DWORD*)>);
static_assert(std::is_same_v<decltype(CapiEntryPoints::CAPI_GET_MANUFACTURER), void(WINAPI*)(char*)>);
static_assert(std::is_same_v<decltype(CapiEntryPoints::CAPI_GET_SERIAL_NUMBER), DWORD(WINAPI*)(char*)>);
#endif

namespace {

template <class Fn>
bool Resolve(HMODULE library, const char* name, Fn& slot) {
  slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)));
  return slot != nullptr;
}

}  // namespace

bool CapiLibrary::Load() {
  m_entryPoints = CapiEntryPoints{};
  m_module.reset();
  os::UniqueModule library(LoadLibraryW(L"capi2032.dll"));
  if (!library) {
    TraceF("capi: capi2032.dll not loaded, error %lu", GetLastError());
    return false;
  }
  CapiEntryPoints table{};
  const HMODULE module = library.get();
  const char* const* name = kCapiEntryPointNames;
  const bool resolved = Resolve(module, *name++, table.CAPI_GET_VERSION) &&
                        Resolve(module, *name++, table.CAPI_GET_MANUFACTURER) &&
                        Resolve(module, *name++, table.CAPI_GET_SERIAL_NUMBER) &&
                        Resolve(module, *name++, table.CAPI_GET_PROFILE) &&
                        Resolve(module, *name++, table.CAPI_INSTALLED) &&
                        Resolve(module, *name++, table.CAPI_REGISTER) &&
                        Resolve(module, *name++, table.CAPI_RELEASE) &&
                        Resolve(module, *name++, table.CAPI_PUT_MESSAGE) &&
                        Resolve(module, *name++, table.CAPI_GET_MESSAGE);
  if (!resolved) {
    TraceF("capi: entry point %s missing, library unloaded", name[-1]);
    return false;
  }
  m_module = std::move(library);
  m_entryPoints = table;
  return true;
}

}  // namespace tfm
