#pragma once
// The one signal that tells every worker to stop: a manual-reset event that each worker's pause and
// wait include, so that all of them wake at once instead of sleeping out their period.
#include <windows.h>

#include <cstdint>

#include "os/Owned.h"

namespace os {

class StopEvent {
 public:
  StopEvent() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

  void Raise() const { SetEvent(m_event.get()); }
  // Waits up to milliseconds; true when the stop was raised. Without an event (its creation failed)
  // this is a plain sleep, never a spin.
  bool Wait(uint32_t milliseconds) const {
    if (!m_event) {
      Sleep(milliseconds);
      return false;
    }
    return WaitForSingleObject(m_event.get(), milliseconds) == WAIT_OBJECT_0;
  }
  // For waits on several objects; null when the event could not be created.
  HANDLE Handle() const { return m_event.get(); }

 private:
  UniqueHandle m_event;
};

}  // namespace os
