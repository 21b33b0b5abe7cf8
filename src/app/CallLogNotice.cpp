#include "app/CallLogNotice.h"

#include "calllog/CallLogWriter.h"

namespace tfm {
namespace {

// The text that a balloon can hold (ITrayPort::ShowBalloon).
constexpr size_t kBalloonLength = 255;

}  // namespace

std::string CallLogBlockedRecord(const std::string& path, const std::string& reason) {
  return "The call log " + path + " could not be written: " + reason +
         " The calls are kept in memory and will be written to it, in order, as soon as the file can be written.";
}

std::string CallLogWritableRecord(const std::string& path, size_t writtenLate, size_t dropped) {
  std::string text = "The call log " + path + " can be written again: the " + std::to_string(writtenLate) +
                     " calls kept meanwhile have been written to it.";
  if (dropped > 0) {
    text += " " + std::to_string(dropped) + " older calls could not be kept (at most " +
            std::to_string(kCallLogKeptLimit) + " are) and are missing from it.";
  }
  return text;
}

std::string CallLogBlockedBalloon(const std::string& path, const std::string& reason) {
  const std::string kept = "The calls are kept and will be written to " + path + " as soon as it can be written.";
  return reason.size() + 1 + kept.size() <= kBalloonLength ? reason + " " + kept : kept;
}

void CCallLogNotice::OnCallLogBlocked(const std::string& path, const std::string& reason) {
  m_tray.ShowBalloon(kCallLogBlockedTitle, CallLogBlockedBalloon(path, reason).c_str());
}

}  // namespace tfm
