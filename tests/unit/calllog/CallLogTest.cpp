// The call log's line in both directions: what the monitor writes, what the call page reads back
// (through the Windows C runtime's text-mode line reads), and where the file lives.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "calllog/CallLogFormat.h"
#include "calllog/CallLogReader.h"

namespace tfm {

void PrintTo(const CallLogRow& row, std::ostream* out) {
  *out << '[' << row.callType << '|' << row.calledNumber << '|' << row.callingNumber << '|' << row.date << '|'
       << row.time << ']';
}

namespace {

// Each read goes through an anonymous temporary file of its own: tests running at once share nothing.
std::vector<CallLogRow> Read(const std::string& bytes) {
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::tmpfile(), std::fclose);
  if (!file) {
    ADD_FAILURE() << "no temporary file";
    return {};
  }
  std::fwrite(bytes.data(), 1, bytes.size(), file.get());
  std::rewind(file.get());
  return ReadCallLog(file.get());
}

std::tm March1st2005() {
  std::tm t{};
  t.tm_year = 105;
  t.tm_mon = 2;
  t.tm_mday = 1;
  t.tm_hour = 14;
  t.tm_min = 5;
  t.tm_sec = 9;
  return t;
}

TEST(CallLogFormat, LineHasFiveBlankSeparatedFieldsAndOneStamp) {
  const std::tm t = March1st2005();
  EXPECT_EQ("IN 4711 815 2005-03-01 14:05:09\n", FormatCallLogLine("IN", "4711", "815", &t));
  EXPECT_EQ("IN 1 %s%n%x 2005-03-01 14:05:09\n", FormatCallLogLine("IN", "1", "%s%n%x", &t));
  EXPECT_EQ("IN 1 2 Invalid DateTime\n", FormatCallLogLine("IN", "1", "2", nullptr));
}

TEST(CallLogFormat, WrittenLinesReadBackAsTheirFieldsAndOddOrTornLinesAreSkipped) {
  const std::tm t = March1st2005();
  // Text mode stores the writer's line feed as CR LF; files edited elsewhere may hold a bare LF.
  std::string withCrLf = FormatCallLogLine("IN", "4712", "", &t);
  withCrLf.insert(withCrLf.size() - 1, "\r");
  const std::string torn = FormatCallLogLine("IN", "9", "9", &t);
  const std::string bytes = FormatCallLogLine("IN", "4711", "815", &t) + "\r\nIN 1 2 3\r\n   \n" + withCrLf +
                            FormatCallLogLine("IN", "1", "2", nullptr) + "IN 4713 0301 1 x y z\n" +
                            torn.substr(0, torn.size() / 2);
  const std::vector<CallLogRow> expected{{"IN", "4711", "815", "2005-03-01", "14:05:09"},
                                         {"IN", "4712", "", "2005-03-01", "14:05:09"},
                                         {"IN", "1", "2", "Invalid", "DateTime"},
                                         {"IN", "4713", "0301", "1", "x y z"}};
  EXPECT_EQ(expected, Read(bytes));
  EXPECT_TRUE(Read("").empty());
  EXPECT_TRUE(ReadCallLog(::testing::TempDir() + "no-such-folder/ISDNCall.log").empty());
}

TEST(CallLogReader, TextModeTranslationAsTheWindowsRuntimeDoesIt) {
  // A lone carriage return stays in the text; CTRL+Z ends it; a zero byte hides the rest of its piece.
  const std::vector<CallLogRow> expected{{"IN", "1", "2", "d", "t\r"}, {"IN", "3", "4", "d", "t"}};
  EXPECT_EQ(expected, Read(std::string("IN 1 2 d t\r\r\nIN 5 6 d\0 t\nIN 3 4 d t\n\x1AIN 7 8 d t\n", 44)));
}

TEST(CallLogReader, LongLinesAreReadIn255CharacterPieces) {
  // Only the piece that ends a line counts: here it is a whole record of its own.
  const std::string record = "IN 1 2 2005-03-01 10:00:00\n";
  std::vector<CallLogRow> rows = Read(std::string(255, 'a') + record + std::string(600, 'b') + "\n" + record);
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ("10:00:00", rows[0].time);

  // CR LF is one character when the pieces are counted: 254 characters and the line feed fill one read.
  const std::string head = "IN 1 2 2005-03-01 ";
  const std::string time(254 - head.size(), 't');
  rows = Read(head + time + "\r\n" + record);
  ASSERT_EQ(2u, rows.size());
  EXPECT_EQ(time, rows[0].time);

  // One more character and the line feed starts a piece of its own, leaving no record of that line.
  rows = Read(head + time + "t\r\n" + record);
  ASSERT_EQ(1u, rows.size());
  EXPECT_EQ("10:00:00", rows[0].time);
}

TEST(CallLogReader, CrLfSplitAcrossTheReadChunksIsStillOneLineFeed) {
  // Line lengths chosen so that carriage returns fall on every offset, the chunk edges included.
  std::string bytes;
  std::vector<CallLogRow> expected;
  for (int i = 0; bytes.size() < 40000; ++i) {
    const std::string time(static_cast<size_t>(i % 37), 't');
    bytes += "IN " + std::to_string(i) + " 5 d " + time + "\r\n";
    expected.push_back({"IN", std::to_string(i), "5", "d", time});
  }
  EXPECT_EQ(expected, Read(bytes));
}

}  // namespace
}  // namespace tfm
