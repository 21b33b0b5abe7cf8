#pragma once
// What the user is told when the call log cannot be written, once per episode: a balloon at the tray
// icon, shown whether or not call balloons are switched on (it is about the record, not about a call),
// and the event-log records that the event reporter writes from the texts here.
#include <cstddef>
#include <string>

#include "calllog/CallLogPort.h"
#include "common/TrayPort.h"

namespace tfm {

inline constexpr char kCallLogBlockedTitle[] = "The call log cannot be written";

// "The call log <path> could not be written: <reason> The calls are kept ..."
std::string CallLogBlockedRecord(const std::string& path, const std::string& reason);
// "The call log <path> can be written again: ..." with the kept calls written and the dropped ones.
std::string CallLogWritableRecord(const std::string& path, size_t writtenLate, size_t dropped);
// The balloon's text, at most the 255 bytes a balloon holds as far as the path allows: the reason is
// left out when it would push the path past the end.
std::string CallLogBlockedBalloon(const std::string& path, const std::string& reason);

class CCallLogNotice final : public ICallLogHealthListener {
 public:
  explicit CCallLogNotice(ITrayPort& tray) : m_tray(tray) {}

  void OnCallLogBlocked(const std::string& path, const std::string& reason) override;
  void OnCallLogWritable(const std::string&, size_t, size_t) override {}  // the event record says it

 private:
  ITrayPort& m_tray;
};

}  // namespace tfm
