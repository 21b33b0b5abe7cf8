// The call log's line in both directions: what the monitor writes, what the call page lists of it (as
// the Windows C runtime's text-mode line reads deliver the file), and where the file lives.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "calllog/CallLogFormat.h"
#include "calllog/CallLogIndex.h"
#include "calllog/CallRowsText.h"

namespace tfm {

void PrintTo(const CallLogRow& row, std::ostream* out) {
  *out << '[' << row.callType << '|' << row.calledNumber << '|' << row.callingNumber << '|' << row.date << '|'
       << row.time << ']';
}

namespace {

CallLogRow Shown(const CallLogIndex& index, size_t position) {
  const auto cell = [&](CallColumn column) { return std::string(index.Cell(position, static_cast<int>(column))); };
  return {cell(CallColumn::kType), cell(CallColumn::kCalled), cell(CallColumn::kCalling), cell(CallColumn::kDate),
          cell(CallColumn::kTime)};
}

std::vector<CallLogRow> Shown(const CallLogIndex& index) {
  std::vector<CallLogRow> rows;
  for (size_t position = 0; position < index.RowCount(); ++position) rows.push_back(Shown(index, position));
  return rows;
}

// The rows that the call page lists for the bytes of a log file.
std::vector<CallLogRow> Read(const std::string& bytes) { return Shown(CallLogIndex(bytes)); }

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
  // A number's bytes never become the line's structure: no blank, line end, CTRL+Z, zero or 8-bit byte.
  EXPECT_EQ("IN 1?1 6?6?6?6?? 2005-03-01 14:05:09\n",
            FormatCallLogLine("IN", "1 1", std::string("6\n6\x1A" "6\0" "6\xFF\x7F", 9), &t));
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
}

TEST(CallLogIndex, TextModeTranslationAsTheWindowsRuntimeDoesIt) {
  // A lone carriage return stays in the text; CTRL+Z ends it; a zero byte hides the rest of its piece.
  const std::vector<CallLogRow> expected{{"IN", "1", "2", "d", "t\r"}, {"IN", "3", "4", "d", "t"}};
  EXPECT_EQ(expected, Read(std::string("IN 1 2 d t\r\r\nIN 5 6 d\0 t\nIN 3 4 d t\n\x1AIN 7 8 d t\n", 44)));
}

TEST(CallLogIndex, LongLinesAreReadIn255CharacterPieces) {
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

// The shown order: a column in both directions, date and time as one moment, equal keys in file order;
// a call logged later goes where the order puts it.
TEST(CallLogIndex, SortsByAColumnEitherWayAndPlacesLoggedCallsInTheOrder) {
  CallLogIndex index("IN 2 815 2005-03-02 08:00:00\r\n"
                     "IN 1 4711 2005-03-01 23:59:59\r\n"
                     "IN 1 0301 2005-03-02 07:00:00\r\n"
                     "IN 2 815 2005-03-01 23:59:59\r\n");
  const auto column = [&](CallColumn shown) {
    std::string cells;
    for (size_t position = 0; position < index.RowCount(); ++position)
      cells.append(index.Cell(position, static_cast<int>(shown))).append("|");
    return cells;
  };
  index.Sort(static_cast<int>(CallColumn::kTime), true);
  EXPECT_EQ("23:59:59|23:59:59|07:00:00|08:00:00|", column(CallColumn::kTime));
  EXPECT_EQ("4711|815|0301|815|", column(CallColumn::kCalling)) << "equal moments keep file order";
  index.Sort(static_cast<int>(CallColumn::kDate), false);
  EXPECT_EQ("08:00:00|07:00:00|23:59:59|23:59:59|", column(CallColumn::kTime));
  EXPECT_EQ(2, index.NewestPosition()) << "the file's last line, before the equal moment above it";
  index.Sort(static_cast<int>(CallColumn::kCalling), true);
  EXPECT_EQ("0301|4711|815|815|", column(CallColumn::kCalling));

  EXPECT_EQ(1u, index.Append({"IN", "9", "1", "2005-03-03", "09:00:00"}));
  EXPECT_EQ(1, index.NewestPosition());
  index.Sort(static_cast<int>(CallColumn::kDate), false);
  EXPECT_EQ(0u, index.Append({"IN", "9", "2", "2005-03-04", "09:00:00"}));
  EXPECT_EQ("2|1|", column(CallColumn::kCalling).substr(0, 4));
  index.Sort(-1, true);
  EXPECT_EQ("815|4711|0301|815|1|2|", column(CallColumn::kCalling)) << "file order, then logged order";
  EXPECT_EQ(6u, index.Append({"IN", "9", "3", "2005-01-01", "00:00:00"}));
  EXPECT_EQ("", index.Cell(7, 0));
  EXPECT_EQ("", index.Cell(0, kCallColumnCount));

  CallLogIndex odd("IN 1 2 Invalid DateTime\r\nIN 1 2 1999-1-1 x\r\nIN 1 2 2005-03-01 14:05:09\r\n");
  odd.Sort(static_cast<int>(CallColumn::kTime), true);
  EXPECT_EQ("14:05:09|x|DateTime|", [&] {
    std::string cells;
    for (size_t position = 0; position < odd.RowCount(); ++position)
      cells.append(odd.Cell(position, static_cast<int>(CallColumn::kTime))).append("|");
    return cells;
  }()) << "moments not in the written form come after every moment that is";
}

// Calls heard while the file was read may be in it already: only the rest is appended.
TEST(CallLogIndex, CountsTheHeardCallsThatTheFileAlreadyHeld) {
  const CallLogIndex index("IN 1 2 d t\r\nIN 3 4 d t\r\nIN 5 6 d t\r\n");
  const CallLogRow fifth{"IN", "5", "6", "d", "t"};
  const CallLogRow later{"IN", "7", "8", "d", "t"};
  EXPECT_EQ(1u, index.CountAlreadyRead({fifth, later}));
  EXPECT_EQ(0u, index.CountAlreadyRead({later, fifth}));
  EXPECT_EQ(2u, index.CountAlreadyRead({{"IN", "3", "4", "d", "t"}, fifth}));
  EXPECT_EQ(0u, CallLogIndex().CountAlreadyRead({fifth}));
}

TEST(CallLogIndex, ATooLongFileIsReadFromTheLineThatStartsItsTail) {
  const std::string path = ::testing::TempDir() + "tfm_tail_ISDNCall.log";
  std::FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(nullptr, file);
  std::fputs("IN 1 2 d t\r\nIN 3 4 d t\r\nIN 5 6 d t\r\n", file);
  std::fclose(file);
  EXPECT_EQ("IN 5 6 d t\r\n", ReadCallLogTail(path, 13)) << "the last 13 bytes begin with the second line's line feed";
  EXPECT_EQ("IN 3 4 d t\r\nIN 5 6 d t\r\n", ReadCallLogTail(path, 24));
  EXPECT_EQ(36u, ReadCallLogTail(path, 1000).size());
  std::remove(path.c_str());
  EXPECT_EQ("", ReadCallLogTail(path, 1000));
}

TEST(CallRowsText, TabSeparatedForTheClipboardAndCsvQuotedAsRfc4180Says) {
  const CallLogIndex index("IN 4711 815 2005-03-01 14:05:09\r\nIN\t1 , \"x\"  a,b\"c\r\n");
  std::string copied;
  AppendTabSeparatedRow(copied, index, 0);
  AppendTabSeparatedRow(copied, index, 1);
  EXPECT_EQ("IN\t815\t4711\t2005-03-01\t14:05:09\r\nIN 1\t\"x\"\t,\t\ta,b\"c\r\n", copied);
  std::string csv;
  const std::string_view titles[] = {"Call Type", "Caller Id"};
  AppendCsvLine(csv, titles);
  AppendCsvRow(csv, index, 0);
  AppendCsvRow(csv, index, 1);
  EXPECT_EQ("Call Type,Caller Id\r\nIN,815,4711,2005-03-01,14:05:09\r\nIN\t1,\"\"\"x\"\"\",\",\",,\"a,b\"\"c\"\r\n", csv);
}

}  // namespace
}  // namespace tfm
