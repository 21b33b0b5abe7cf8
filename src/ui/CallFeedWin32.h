#pragma once
// CallFeed: hands the calls that the log records, heard on the ISDN monitor's thread, to the open call
// monitor page on the user-interface thread. Rows wait in a locked queue; the attached window is
// posted a message when the queue stops being empty, and takes them all at once.
#include <windows.h>

#include <mutex>
#include <vector>

#include "calllog/CallLogPort.h"

namespace tfm {

class CallFeed final : public ICallLogListener {
 public:
  // From now on rows wait for window, which is posted message (no parameters) to take them.
  void Attach(HWND window, UINT message);
  // No more rows wait and nothing more is posted; what waits is dropped.
  void Detach();
  // The rows that waited, oldest first.
  std::vector<CallLogRow> Take();

  void OnCallLogged(const CallLogRow& row) override;

 private:
  std::mutex m_lock;
  HWND m_window = nullptr;
  UINT m_message = 0;
  std::vector<CallLogRow> m_waiting;
};

}  // namespace tfm
