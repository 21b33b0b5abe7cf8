#include "capi/CallLog.h"

#include <gtest/gtest.h>

namespace tfm {
namespace {

TEST(CallLogTest, LineHasFiveBlankSeparatedFieldsAndOneStamp) {
  std::tm t{};
  t.tm_year = 105;
  t.tm_mon = 2;
  t.tm_mday = 1;
  t.tm_hour = 14;
  t.tm_min = 5;
  t.tm_sec = 9;
  EXPECT_EQ("IN 4711 815 2005-03-01 14:05:09\n", FormatCallLogLine("IN", "4711", "815", &t));
  EXPECT_EQ("IN 4711  2005-03-01 14:05:09\n", FormatCallLogLine("IN", "4711", "", &t));
  EXPECT_EQ("IN 1 %s%n%x 2005-03-01 14:05:09\n", FormatCallLogLine("IN", "1", "%s%n%x", &t));
  EXPECT_EQ("IN 1 2 Invalid DateTime\n", FormatCallLogLine("IN", "1", "2", nullptr));
}

TEST(CallLogTest, FileLivesBesideTheExecutable) {
  EXPECT_EQ("C:\\Program Files\\Telvaro\\", DirectoryOfPath("C:\\Program Files\\Telvaro\\TelvaroMonitor.exe"));
  EXPECT_EQ("", DirectoryOfPath(""));
  EXPECT_EQ("C:\\Telvaro\\ISDNCall.log", CallLogPath("C:\\Telvaro\\"));
  EXPECT_EQ("C:\\Telvaro\\ISDNCall.log", CallLogPath("C:\\Telvaro"));
  EXPECT_EQ("\\ISDNCall.log", CallLogPath(""));
}

}  // namespace
}  // namespace tfm
