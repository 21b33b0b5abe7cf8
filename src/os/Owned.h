#pragma once
// One owner for everything the program holds from the system: each resource is released by the
// object that owns it, once, when the owner goes. Nothing outside this folder calls a release function.
#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace os {

// Owns one value of type H and releases it with Release unless it equals Invalid.
template <class H, auto Release, H Invalid = H{}>
class Unique {
 public:
  Unique() = default;
  explicit Unique(H handle) : m_handle(handle) {}
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& other) noexcept : m_handle(other.release()) {}
  Unique& operator=(Unique&& other) noexcept {
    reset(other.release());
    return *this;
  }
  ~Unique() { reset(); }

  H get() const { return m_handle; }
  explicit operator bool() const { return m_handle != Invalid; }
  H release() { return std::exchange(m_handle, Invalid); }
  void reset(H handle = Invalid) {
    const H old = std::exchange(m_handle, handle);
    if (old != Invalid) Release(old);
  }

 private:
  H m_handle = Invalid;
};

namespace release {
inline void KernelHandle(HANDLE h) { CloseHandle(h); }
inline void View(void* view) { UnmapViewOfFile(view); }
inline void ServiceHandle(SC_HANDLE h) { CloseServiceHandle(h); }
inline void Module(HMODULE h) { FreeLibrary(h); }
inline void RegistryKey(HKEY h) { RegCloseKey(h); }
inline void LocalBlock(HLOCAL h) { LocalFree(h); }
inline void GlobalBlock(HGLOBAL h) { GlobalFree(h); }
inline void HeapBlock(void* block) { HeapFree(GetProcessHeap(), 0, block); }
inline void Sid(PSID sid) { FreeSid(sid); }
inline void GdiObject(HGDIOBJ h) { DeleteObject(h); }
inline void MemoryDc(HDC dc) { DeleteDC(dc); }
inline void Menu(HMENU h) { DestroyMenu(h); }
inline void EventSource(HANDLE h) { DeregisterEventSource(h); }
// Callbacks of the work that are queued or running are waited for: they end before the work is closed.
inline void ThreadpoolWork(PTP_WORK work) {
  WaitForThreadpoolWorkCallbacks(work, FALSE);
  CloseThreadpoolWork(work);
}
// The timer is stopped, its queued callbacks cancelled and a running one waited for, before it is closed.
inline void ThreadpoolTimer(PTP_TIMER timer) {
  SetThreadpoolTimer(timer, nullptr, 0, 0);
  WaitForThreadpoolTimerCallbacks(timer, TRUE);
  CloseThreadpoolTimer(timer);
}
inline void Hook(HHOOK h) { UnhookWindowsHookEx(h); }
inline void Icon(HICON h) { DestroyIcon(h); }
inline void ImageList(HIMAGELIST h) { ImageList_Destroy(h); }
}  // namespace release

using UniqueHandle = Unique<HANDLE, release::KernelHandle>;
using UniqueView = Unique<void*, release::View>;
using UniqueServiceHandle = Unique<SC_HANDLE, release::ServiceHandle>;
using UniqueModule = Unique<HMODULE, release::Module>;
using UniqueKey = Unique<HKEY, release::RegistryKey>;
using UniqueLocal = Unique<HLOCAL, release::LocalBlock>;
using UniqueGlobal = Unique<HGLOBAL, release::GlobalBlock>;
using UniqueHeapBlock = Unique<void*, release::HeapBlock>;
using UniqueSid = Unique<PSID, release::Sid>;
using UniqueFont = Unique<HFONT, release::GdiObject>;
using UniqueBitmap = Unique<HBITMAP, release::GdiObject>;
using UniqueBrush = Unique<HBRUSH, release::GdiObject>;
using UniquePen = Unique<HPEN, release::GdiObject>;
using UniqueRegion = Unique<HRGN, release::GdiObject>;
using UniqueMemoryDc = Unique<HDC, release::MemoryDc>;
using UniqueMenu = Unique<HMENU, release::Menu>;
using UniqueEventSource = Unique<HANDLE, release::EventSource>;
using UniqueThreadpoolWork = Unique<PTP_WORK, release::ThreadpoolWork>;
using UniqueThreadpoolTimer = Unique<PTP_TIMER, release::ThreadpoolTimer>;
using UniqueHook = Unique<HHOOK, release::Hook>;
using UniqueIcon = Unique<HICON, release::Icon>;
using UniqueImageList = Unique<HIMAGELIST, release::ImageList>;

// CreateFile fails with INVALID_HANDLE_VALUE rather than null; the owner holds null for either.
inline UniqueHandle AdoptFile(HANDLE file) {
  return UniqueHandle(file == INVALID_HANDLE_VALUE ? nullptr : file);
}

// A block that a system call allocated with LocalAlloc and handed over as a typed pointer
// (FormatMessage's text, a converted security descriptor).
template <class T>
class LocalPtr {
 public:
  LocalPtr() = default;
  T* get() const { return static_cast<T*>(m_block.get()); }
  // For the out parameter of the call that allocates the block.
  T** out() {
    m_block.reset();
    m_raw = nullptr;
    return &m_raw;
  }
  // Takes over what the call wrote through out().
  LocalPtr& adopt() {
    m_block.reset(static_cast<HLOCAL>(m_raw));
    m_raw = nullptr;
    return *this;
  }

 private:
  UniqueLocal m_block;
  T* m_raw = nullptr;
};

// A block of memory in another process (VirtualAllocEx), for messages whose parameters must point
// into that process; freed there when the owner goes. The process handle must outlive the owner.
class UniqueRemoteBlock {
 public:
  UniqueRemoteBlock(HANDLE process, SIZE_T length)
      : m_process(process), m_block(VirtualAllocEx(process, nullptr, length, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  UniqueRemoteBlock(const UniqueRemoteBlock&) = delete;
  UniqueRemoteBlock& operator=(const UniqueRemoteBlock&) = delete;
  ~UniqueRemoteBlock() {
    if (m_block) VirtualFreeEx(m_process, m_block, 0, MEM_RELEASE);
  }
  void* get() const { return m_block; }

 private:
  HANDLE m_process;
  void* m_block;
};

// A thread or process started by CreateProcess: both handles owned.
struct ProcessHandles {
  UniqueHandle process;
  UniqueHandle thread;
  DWORD processId = 0;

  static ProcessHandles Adopt(const PROCESS_INFORMATION& info) {
    ProcessHandles owned;
    owned.process.reset(info.hProcess);
    owned.thread.reset(info.hThread);
    owned.processId = info.dwProcessId;
    return owned;
  }
};

}  // namespace os
