// What the user reads when the call log cannot be written: a balloon that names the file whole, and
// records that say what happened and what became of the calls.
#include <gtest/gtest.h>

#include <string>

#include "RecordingTray.h"
#include "app/CallLogNotice.h"

namespace tfm {
namespace {

TEST(CallLogNotice, TheBalloonNamesTheWholeFileAndLeavesOutTheReasonWhenBothDoNotFit) {
  test::RecordingTray tray;
  CCallLogNotice notice(tray);
  const std::string reason = "The process cannot access the file because it is being used by another process.";
  const std::string path = "C:\\Users\\op\\AppData\\Local\\Programs\\Telvaro Fax Server Monitor\\ISDNCall.log";
  notice.OnCallLogBlocked(path, reason);
  notice.OnCallLogWritable(path, 3, 0);
  EXPECT_EQ((std::vector<std::string>{"balloon The call log cannot be written: " + reason +
                                      " The calls are kept and will be written to " + path +
                                      " as soon as it can be written."}),
            tray.Calls());

  const std::string longPath = "C:\\" + std::string(120, 'd') + "\\ISDNCall.log";
  const std::string text = CallLogBlockedBalloon(longPath, reason);
  EXPECT_LE(text.size(), 255u);
  EXPECT_EQ(0u, text.rfind("The calls are kept and will be written to " + longPath, 0)) << text;
}

TEST(CallLogNotice, TheRecordsSayWhereTheFileIsWhyAndWhatBecameOfTheCalls) {
  EXPECT_EQ("The call log C:\\ISDNCall.log could not be written: Access is denied. The calls are kept in memory "
            "and will be written to it, in order, as soon as the file can be written.",
            CallLogBlockedRecord("C:\\ISDNCall.log", "Access is denied."));
  EXPECT_EQ("The call log C:\\ISDNCall.log can be written again: the 12 calls kept meanwhile have been written to it.",
            CallLogWritableRecord("C:\\ISDNCall.log", 12, 0));
  EXPECT_EQ("The call log C:\\ISDNCall.log can be written again: the 100000 calls kept meanwhile have been written "
            "to it. 7 older calls could not be kept (at most 100000 are) and are missing from it.",
            CallLogWritableRecord("C:\\ISDNCall.log", 100000, 7));
}

}  // namespace
}  // namespace tfm
