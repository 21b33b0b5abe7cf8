#include "ui/CallLogReader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace tfm {

void PrintTo(const CallLogRow& row, std::ostream* out) {
  *out << '[' << row.callType << '|' << row.calledNumber << '|' << row.callingNumber << '|' << row.date << '|'
       << row.time << ']';
}

namespace {

class CallLogReaderTest : public ::testing::Test {
 protected:
  void TearDown() override { std::remove(path.c_str()); }
  std::vector<CallLogRow> Read(const std::string& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    EXPECT_NE(nullptr, file);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return ReadCallLog(path);
  }
  std::string path = ::testing::TempDir() + "isdncall_reader_test.log";
};

TEST_F(CallLogReaderTest, RowsInFileOrderWithCrLfOrLfEndings) {
  const std::vector<CallLogRow> expected{{"IN", "4711", "815", "2005-03-01", "14:05:09"},
                                         {"IN", "4712", "", "2005-03-02", "08:00:00"},
                                         {"IN", "4713", "0301", "1", "x y z"}};
  EXPECT_EQ(expected, Read("IN 4711 815 2005-03-01 14:05:09\r\nIN 4712  2005-03-02 08:00:00\r\n"
                           "IN 4713 0301 1 x y z\n"));
}

TEST_F(CallLogReaderTest, IncompleteOddAndShortLinesGiveNoRows) {
  const std::vector<CallLogRow> expected{{"IN", "1", "2", "d", "t"}};
  EXPECT_EQ(expected, Read("\r\nIN 1 2 3\r\n   \nIN 1 2 d t\r\nIN 9 9 2005-03-03 10:00:00"));
  EXPECT_TRUE(Read("").empty());
  std::remove(path.c_str());
  EXPECT_TRUE(ReadCallLog(path).empty());
}

TEST_F(CallLogReaderTest, TextModeTranslationAsTheWindowsRuntimeDoesIt) {
  // A lone carriage return stays in the text; CTRL+Z ends it; a zero byte hides the rest of its piece.
  const std::vector<CallLogRow> expected{{"IN", "1", "2", "d", "t\r"}, {"IN", "3", "4", "d", "t"}};
  EXPECT_EQ(expected, Read(std::string("IN 1 2 d t\r\r\nIN 5 6 d\0 t\nIN 3 4 d t\n\x1AIN 7 8 d t\n", 44)));
}

TEST_F(CallLogReaderTest, LongLinesAreReadIn255CharacterPieces) {
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

TEST_F(CallLogReaderTest, CrLfSplitAcrossTheReadChunksIsStillOneLineFeed) {
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

TEST(CallLogPathForReading, DirectoryOfTheExecutableWithItsBackslash) {
  EXPECT_EQ("C:\\Program Files\\Telvaro\\isdncall.log",
            CallLogPathForReading("C:\\Program Files\\Telvaro\\TelvaroMonitor.exe"));
  EXPECT_EQ("C:\\isdncall.log", CallLogPathForReading("C:\\mon.exe"));
  EXPECT_EQ("isdncall.log", CallLogPathForReading("mon.exe"));
}

}  // namespace
}  // namespace tfm
