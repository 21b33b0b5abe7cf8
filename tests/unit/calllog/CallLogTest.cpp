// The call log's line in both directions: what the monitor writes, what the call page lists of it, and
// which part of a long file is read.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calllog/CallLogFormat.h"
#include "calllog/CallLogIndex.h"
#include "calllog/CallLogWriter.h"
#include "calllog/CallRowsText.h"
#include "calllog/TextSearch.h"
#include "MapPhoneBook.h"

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

// A file that refuses writes with an error, or takes only so many bytes (a full disk).
class FileThatRefuses final : public CallLogWriter {
 public:
  explicit FileThatRefuses(size_t keptLimit) : CallLogWriter("C:\\Telvaro\\ISDNCall.log", keptLimit) {}
  std::string bytes;
  uint32_t refusal = 0;
  size_t room = SIZE_MAX;

 private:
  Appended AppendToFile(std::string_view text) override {
    if (refusal) return {refusal, 0};
    const size_t length = std::min(text.size(), room);
    bytes.append(text.substr(0, length));
    room -= length;
    return {length == text.size() ? 0u : 112u, length};
  }
  std::string ErrorText(uint32_t error) const override { return "error " + std::to_string(error); }
  bool LocalNow(std::tm& local) const override {
    local = March1st2005();
    return true;
  }
};

struct RecordingListeners final : ICallLogListener, ICallLogHealthListener {
  void OnCallLogged(const CallLogRow& row) override { calls.push_back(row.callingNumber); }
  void OnCallLogBlocked(const std::string& path, const std::string& reason) override {
    health.push_back("blocked " + path + " " + reason);
  }
  void OnCallLogWritable(const std::string& path, size_t writtenLate, size_t dropped) override {
    health.push_back("writable " + path + " " + std::to_string(writtenLate) + " " + std::to_string(dropped));
  }
  std::vector<std::string> calls;
  std::vector<std::string> health;
};

std::string Lines(int from, int to) {
  std::string lines;
  for (int call = from; call <= to; ++call) lines += "IN 4711 " + std::to_string(call) + " 2005-03-01 14:05:09\r\n";
  return lines;
}

// A refused line is kept, written in order before the next one or when the monitor asks, never twice
// and never torn; callers hear of each call at once, the health listeners once per episode.
TEST(CallLogWriter, KeepsRefusedLinesAndWritesThemInOrderOnceTheFileTakesThem) {
  FileThatRefuses file(100);
  RecordingListeners listeners;
  file.AddListener(listeners);
  file.AddHealthListener(listeners);
  file.WriteCallLog("IN", "4711", "1");
  EXPECT_EQ(Lines(1, 1), file.bytes);

  file.refusal = 32;
  file.WriteCallLog("IN", "4711", "2");
  file.FlushPending();
  file.WriteCallLog("IN", "4711", "3");
  EXPECT_EQ(Lines(1, 1), file.bytes);
  EXPECT_EQ(2u, file.keptCount());
  EXPECT_EQ((std::vector<std::string>{"1", "2", "3"}), listeners.calls);
  EXPECT_EQ((std::vector<std::string>{"blocked C:\\Telvaro\\ISDNCall.log error 32"}), listeners.health);

  // The disk fills in the middle of a line: what reached the file is not written again.
  file.refusal = 0;
  file.room = Lines(2, 2).size() + 5;
  file.FlushPending();
  EXPECT_EQ(Lines(1, 2) + Lines(3, 3).substr(0, 5), file.bytes);
  EXPECT_EQ(1u, listeners.health.size()) << "the same episode";

  file.room = SIZE_MAX;
  file.WriteCallLog("IN", "4711", "4");
  EXPECT_EQ(Lines(1, 4), file.bytes);
  EXPECT_EQ(0u, file.keptCount());
  ASSERT_EQ(2u, listeners.health.size());
  EXPECT_EQ("writable C:\\Telvaro\\ISDNCall.log 3 0", listeners.health[1]);
  file.FlushPending();
  EXPECT_EQ(2u, listeners.health.size());
  EXPECT_EQ(4u, listeners.calls.size());
}

TEST(CallLogWriter, PastTheLimitTheOldestKeptLineIsDroppedAndCounted) {
  FileThatRefuses file(3);
  RecordingListeners listeners;
  file.AddHealthListener(listeners);
  file.refusal = 39;
  for (int call = 1; call <= 5; ++call) file.WriteCallLog("IN", "4711", std::to_string(call));
  EXPECT_EQ(3u, file.keptCount());
  file.refusal = 0;
  file.FlushPending();
  EXPECT_EQ(Lines(3, 5), file.bytes);
  EXPECT_EQ("writable C:\\Telvaro\\ISDNCall.log 3 2", listeners.health.back());

  // A new episode counts afresh; a line partly in the file is finished rather than dropped.
  file.refusal = 0;
  file.room = 3;
  file.bytes.clear();
  for (int call = 6; call <= 9; ++call) file.WriteCallLog("IN", "4711", std::to_string(call));
  file.room = SIZE_MAX;
  file.FlushPending();
  EXPECT_EQ(Lines(6, 6) + Lines(8, 9), file.bytes);
  EXPECT_EQ("writable C:\\Telvaro\\ISDNCall.log 3 1", listeners.health.back());
}

// Whatever a line holds, it is read or skipped on its own: the calls around it are always listed. Numbers
// of logs written before numbers were made printable show their control bytes as '?'.
TEST(CallLogIndex, AnOddLineIsReadOrSkippedAloneAndTheCallsAroundItAreListed) {
  const std::string before = "IN 1 2 2005-03-01 10:00:00\r\n";
  const std::string after = "IN 3 4 2005-03-01 11:00:00\n";
  const CallLogRow first{"IN", "1", "2", "2005-03-01", "10:00:00"};
  const CallLogRow last{"IN", "3", "4", "2005-03-01", "11:00:00"};
  const std::string longTime(70000, 't');
  const struct {
    const char* what;
    std::string line;
    std::vector<CallLogRow> rows;  // what the odd line is listed as
  } kCases[] = {
      {"CTRL+Z alone", "\x1A\r\n", {}},
      {"CTRL+Z in a number", "IN 5\x1A 6 d t\r\n", {{"IN", "5?", "6", "d", "t"}}},
      {"a zero byte", std::string("IN 5 6 d\0 t\r\n", 13), {}},
      {"a bare CR", "\r\n\r\r\n", {}},
      {"a CR inside a number", "IN 5\r5 6 d t\r\n", {{"IN", "5?5", "6", "d", "t"}}},
      {"control and 8-bit bytes in numbers", "IN 4\x07" "1 \x1B\xFF d t\n", {{"IN", "4?1", "??", "d", "t"}}},
      {"a very long line that is a call", "IN 5 6 d " + longTime + "\r\n", {{"IN", "5", "6", "d", longTime}}},
      {"a very long line that is none", std::string(70000, 'x') + "\r\n", {}},
      {"three blanks", "IN 5 6 d\r\n", {}},
      {"three blanks only", "   \r\n", {}},
      {"an empty line", "\n", {}},
  };
  for (const auto& odd : kCases) {
    std::vector<CallLogRow> expected{first};
    expected.insert(expected.end(), odd.rows.begin(), odd.rows.end());
    expected.push_back(last);
    EXPECT_EQ(expected, Read(before + odd.line + after)) << odd.what;
  }
  std::string copied;
  AppendTabSeparatedRow(copied, CallLogIndex("IN 4\x07" "1 \x1B\xFF d t\n"), 0);
  EXPECT_EQ("IN\t??\t4?1\td\tt\t\r\n", copied) << "copied and exported as listed";
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
  EXPECT_EQ("815|815|0301|4711|", column(CallColumn::kCalling)) << "numbers by their digits";
  // A call is found by its line (a balloon's call), where the order shows it.
  EXPECT_EQ(1, index.FindNewest({"IN", "2", "815", "2005-03-01", "23:59:59"}));
  EXPECT_EQ(0, index.FindNewest({"IN", "2", "815", "2005-03-02", "08:00:00"}));
  EXPECT_EQ(-1, index.FindNewest({"IN", "2", "815", "2005-03-02", "08:00:01"}));

  EXPECT_EQ(0, index.Append({"IN", "9", "1", "2005-03-03", "09:00:00"}));
  EXPECT_EQ(0, index.NewestPosition());
  index.Sort(static_cast<int>(CallColumn::kDate), false);
  EXPECT_EQ(0, index.Append({"IN", "9", "2", "2005-03-04", "09:00:00"}));
  EXPECT_EQ("2|1|", column(CallColumn::kCalling).substr(0, 4));
  index.Sort(-1, true);
  EXPECT_EQ("815|4711|0301|815|1|2|", column(CallColumn::kCalling)) << "file order, then logged order";
  EXPECT_EQ(6, index.Append({"IN", "9", "3", "2005-01-01", "00:00:00"}));
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

  // Phone numbers are strings of digits: fewer digits first, then their value, then the text; withheld
  // (no digits) first. Digits past the sort key's fourteen still count.
  CallLogIndex numbers("IN 100 1 d t\r\nIN 99 2 d t\r\nIN  3 d t\r\nIN +4930 4 d t\r\nIN 004930 5 d t\r\n"
                       "IN 4930 6 d t\r\nIN 0049 30 7 d\r\nIN 123456789012345 8 d t\r\nIN 123456789012344 9 d t\r\n");
  numbers.Sort(static_cast<int>(CallColumn::kCalled), true);
  std::string called;
  for (size_t position = 0; position < numbers.RowCount(); ++position)
    called.append(numbers.Cell(position, static_cast<int>(CallColumn::kCalled))).append("|");
  EXPECT_EQ("|99|100|0049|+4930|4930|004930|123456789012344|123456789012345|", called);
}

// The search keeps the rows whose calling or called number, or whose caller's name, holds the text, in
// any case of its letters; the names are asked once per caller and again when the book changes.
TEST(CallLogIndex, ASearchKeepsTheRowsWhoseNumbersOrNameHoldTheText) {
  CallLogIndex index("IN 4711 0301555123 2005-03-01 10:00:00\r\n"
                     "IN 4712 0171999888 2005-03-01 11:00:00\r\n"
                     "IN 4711  2005-03-02 08:00:00\r\n"
                     "IN 47 0301555123 2005-03-02 09:00:00\r\n"
                     "IN 4711 +4930777 2005-03-03 09:00:00\r\n");
  test::MapPhoneBook book;
  book.names = {{"0301555123", "M\xC3\xBCller GmbH"}, {"+4930777", "\xD0\x97\xD0\x92\xD0\x9E\xD0\x9D Ltd"}};
  index.UseNames(&book);
  EXPECT_EQ(0, book.asked) << "not before a search or a sort needs the names";
  EXPECT_TRUE(index.RefreshNames());
  EXPECT_EQ(3, book.asked) << "once per caller, none for the withheld one";
  EXPECT_FALSE(index.RefreshNames()) << "the same generation";
  const auto callers = [&] {
    std::string shown;
    for (size_t position = 0; position < index.RowCount(); ++position)
      shown.append(index.Cell(position, static_cast<int>(CallColumn::kCalling))).append("|");
    return shown;
  };
  const struct {
    const char* text;
    const char* callers;
  } kSearches[] = {
      {"", "0301555123|0171999888||0301555123|+4930777|"},
      {"0301", "0301555123|0301555123|"},
      {"4711", "0301555123||+4930777|"},  // the number called
      {"m\xC3\xBCller", "0301555123|0301555123|"},
      {"M\xC3\x9CLLER gmbh", "0301555123|0301555123|"},
      {"\xD0\xB7\xD0\xB2\xD0\xBE\xD0\xBD", "+4930777|"},  // Cyrillic in the other case
      {"LTD", "+4930777|"},
      {"+49", "+4930777|"},
      {"4711 0301", ""},  // across the columns
      {"x", ""},
  };
  for (const auto& search : kSearches) {
    index.Filter(search.text);
    EXPECT_EQ(search.callers, callers()) << search.text;
    EXPECT_EQ(5u, index.TotalCount());
  }
  index.Filter("0");
  index.Filter("01");
  EXPECT_EQ("0301555123|0171999888|0301555123|", callers()) << "narrowed";
  index.Filter("017");
  index.Filter("0");
  EXPECT_EQ("0301555123|0171999888|0301555123|+4930777|", callers()) << "widened again";

  // A call logged while the search is set is shown where the order puts it, if the search keeps it.
  index.Filter("0301");
  index.Sort(static_cast<int>(CallColumn::kDate), false);
  EXPECT_EQ(-1, index.Append({"IN", "4711", "0172", "2005-03-04", "09:00:00"}));
  EXPECT_EQ(0, index.Append({"IN", "4711", "0301555123", "2005-03-04", "10:00:00"}));
  EXPECT_EQ(0, index.NewestPosition());
  EXPECT_EQ("M\xC3\xBC" "ller GmbH", index.Cell(0, static_cast<int>(CallColumn::kName)));
  EXPECT_EQ((std::pair<size_t, size_t>{3, 7}), std::make_pair(index.RowCount(), index.TotalCount()));

  // The book changes: the names follow, and so do the rows a name search keeps and a sort by name.
  index.Filter("m");
  EXPECT_EQ("0301555123|0301555123|0301555123|", callers());
  book.names["0171999888"] = "Amt";
  book.names.erase("0301555123");
  ++book.generation;
  EXPECT_FALSE(index.NamesCurrent());
  EXPECT_TRUE(index.RefreshNames());
  EXPECT_EQ("0171999888|", callers());
  index.Filter("");
  index.Sort(static_cast<int>(CallColumn::kName), true);
  EXPECT_EQ("Amt", index.Cell(5, static_cast<int>(CallColumn::kName)));
  EXPECT_EQ("0171999888|+4930777|", callers().substr(callers().size() - 20)) << "no name first";
  index.UseNames(nullptr);
  EXPECT_EQ("", index.Cell(6, static_cast<int>(CallColumn::kName)));
  index.UseNames(&book);
  index.Filter("amt");
  EXPECT_EQ("0171999888|", callers()) << "names taken for the search's first text";
}

// A log of 100,000 calls: what the search keeps, and the count under the list.
TEST(CallLogIndex, ALargeLogIsSearchedAndCounted) {
  std::string log;
  std::vector<std::string> callers;
  for (int i = 0; i < 100000; ++i) {
    char caller[16];
    std::snprintf(caller, sizeof caller, "0301%06d", i);
    callers.emplace_back(caller);
    log += "IN " + std::to_string(4711 + i % 7) + " " + caller + " 2005-03-01 14:05:09\r\n";
  }
  CallLogIndex index(log);
  for (const std::string text : {"4711", "47110", "4", "99999", "0301000000", "a"}) {
    index.Filter(text);
    size_t expected = 0;
    for (size_t i = 0; i < callers.size(); ++i)
      expected += callers[i].find(text) != std::string::npos || std::to_string(4711 + i % 7).find(text) != std::string::npos;
    EXPECT_EQ(expected, index.RowCount()) << text;
  }
  index.Filter("4711");
  EXPECT_EQ("14,302 of 100,000 calls", CallCountText(index.RowCount(), index.TotalCount(), true, ","));
  EXPECT_EQ("1\xC2\xA0" "234\xC2\xA0" "567 calls", CallCountText(9, 1234567, false, "\xC2\xA0"));
  EXPECT_EQ("1 call", CallCountText(1, 1, false, "."));
  EXPECT_EQ("0 of 999 calls", CallCountText(0, 999, true, "."));
  EXPECT_EQ("\xC5\x82\xC3\xB3" "d\xC5\xBA \xFF", FoldCase("\xC5\x81\xC3\x93" "D\xC5\xB9 \xFF")) << "Polish, and no UTF-8";
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

// Only whole lines of the last maxLength bytes are read: the cut falls one byte before them.
TEST(CallLogIndex, ATooLongFileIsReadFromTheLineThatStartsItsTail) {
  const std::string file = "IN 1 2 d t\r\nIN 3 4 d t\r\nIN 5 6 d t\r\n";
  const auto tail = [&file](uint64_t maxLength) {
    std::string text = file.substr(static_cast<size_t>(CallLogTailOffset(file.size(), maxLength)));
    DropTornHead(text, file.size(), maxLength);
    return text;
  };
  EXPECT_EQ("IN 5 6 d t\r\n", tail(13)) << "the last 13 bytes begin with the second line's line feed";
  EXPECT_EQ("IN 5 6 d t\r\n", tail(23));
  EXPECT_EQ("IN 3 4 d t\r\nIN 5 6 d t\r\n", tail(24));
  EXPECT_EQ(file.substr(12), tail(35)) << "the first line starts one byte too early";
  EXPECT_EQ(file, tail(36));
  EXPECT_EQ(file, tail(1000));
  EXPECT_EQ("", tail(5)) << "no whole line in the last 5 bytes";
}

// What a spreadsheet makes of a CSV file, as LibreOffice Calc 7.4 imports one: UTF-8 after the
// byte-order mark (without one the file would be read in the ANSI code page); outside quotes, lines
// split at CR LF and cells at the separator, and at a tab too, as in an import that splits at tabs as
// well (Excel's text import wizard ticks Tab by default); "" inside quotes is one quote. A cell that
// holds a number once blanks around it are trimmed becomes that number (its leading zero or plus
// lost), in either locale's decimal form; a cell that begins with '=', or with '+', '-' or '@' and is
// no number, is a formula (Excel evaluates all of them). A cell that begins with a tab is text shown
// without it.
struct SheetCell {
  enum Kind { kText, kNumber, kFormula } kind;
  std::string shown;
};

void PrintTo(const SheetCell& cell, std::ostream* out) {
  *out << (cell.kind == SheetCell::kText ? "text " : cell.kind == SheetCell::kNumber ? "number " : "formula ")
       << testing::PrintToString(cell.shown);
}
bool operator==(const SheetCell& a, const SheetCell& b) { return a.kind == b.kind && a.shown == b.shown; }

// Blanks around it trimmed, the content reads as a number in either locale's decimal form: strtod's
// numbers, less its leading white space, hexadecimal, infinity and NaN, and with a percent sign.
bool IsNumber(const std::string& content) {
  const size_t first = content.find_first_not_of(' ');
  if (first == std::string::npos || std::isspace(static_cast<unsigned char>(content[first]))) return false;
  std::string number = content.substr(first, content.find_last_not_of(' ') + 1 - first);
  if (number.find_first_of("xXnN") != std::string::npos) return false;
  std::replace(number.begin(), number.end(), ',', '.');
  if (number.back() == '%') number.pop_back();
  char* end = nullptr;
  std::strtod(number.c_str(), &end);
  return !number.empty() && end == number.c_str() + number.size();
}

SheetCell Typed(const std::string& content) {
  if (IsNumber(content)) return {SheetCell::kNumber, content};
  if (!content.empty() && std::string_view("=+-@").find(content.front()) != std::string_view::npos)
    return {SheetCell::kFormula, content};
  return {SheetCell::kText, content.starts_with('\t') ? content.substr(1) : content};
}

std::vector<std::vector<SheetCell>> ReadAsSpreadsheet(std::string_view file, std::string_view separator) {
  std::vector<std::vector<SheetCell>> lines;
  if (!file.starts_with("\xEF\xBB\xBF")) return lines;
  file.remove_prefix(3);
  std::vector<SheetCell> line;
  std::string content;
  bool quoted = false;
  for (size_t at = 0; at < file.size(); ++at) {
    if (quoted) {
      if (file[at] != '"') content += file[at];
      else if (file.substr(at, 2) == "\"\"") content += file[at++];
      else quoted = false;
    } else if (file[at] == '"') {
      quoted = true;
    } else if (file.substr(at, separator.size()) == separator || file[at] == '\t' || file.substr(at, 2) == "\r\n") {
      line.push_back(Typed(content));
      content.clear();
      if (file[at] == '\r') lines.push_back(std::exchange(line, {}));
      at += (file[at] == '\r' ? 2 : file[at] == '\t' ? 1 : separator.size()) - 1;
    } else {
      content += file[at];
    }
  }
  return lines;
}

TEST(CallRowsText, CsvCellsOpenInASpreadsheetAsTheTextTheyAreWithTheUsersListSeparator) {
  const std::string_view titles[] = {"Call Type", "Caller \"Id\"", "a,b;c", "two\r\nlines", "\tx", "\rx", "=1+1"};
  const CallLogIndex index(
      "IN 4711 0301555123 2005-03-01 14:05:09\r\n"
      "IN -5 +4930 Invalid DateTime\r\n"
      "IN @SUM(A1) =1+1 - +\r\n"
      "IN 1,5 -2+3+cmd|'/C'!A0 12.5% 1e5\r\n"
      "1;5 ++1 '0 .5 \"\r\n");
  const auto text = [](std::string_view cell) { return SheetCell{SheetCell::kText, std::string(cell)}; };
  const std::vector<std::vector<SheetCell>> expected = {
      {text("Call Type"), text("Caller \"Id\""), text("a,b;c"), text("two\r\nlines"), text("'\tx"), text("'\rx"),
       text("'=1+1")},
      {text("IN"), text("0301555123"), text("4711"), text("2005-03-01"), text("14:05:09"), text("")},
      {text("IN"), text("+4930"), text("-5"), text("Invalid"), text("DateTime"), text("")},
      {text("IN"), text("'=1+1"), text("'@SUM(A1)"), text("'-"), text("'+"), text("")},
      {text("IN"), text("'-2+3+cmd|'/C'!A0"), text("1,5"), text("12.5%"), text("1e5"), text("")},
      {text("1;5"), text("'0"), text("'++1"), text(".5"), text("\""), text("")},
  };
  for (const std::string_view listSeparator : {",", ";", "\xD8\x9B"}) {  // U+061B, the Arabic semicolon
    SCOPED_TRACE(testing::PrintToString(listSeparator));
    const std::string separator = CsvSeparator(listSeparator);
    std::string csv;
    BeginCsv(csv, titles, separator);
    for (size_t position = 0; position < index.RowCount(); ++position) AppendCsvRow(csv, index, position, separator);
    EXPECT_EQ(expected, ReadAsSpreadsheet(csv, separator)) << csv;
  }
}

TEST(CallRowsText, TheListSeparatorsFirstCharacterSeparatesCsvCellsOrACommaWhenItCannot) {
  EXPECT_EQ(";", CsvSeparator(";"));
  EXPECT_EQ("\xD8\x9B", CsvSeparator("\xD8\x9B;"));
  EXPECT_EQ("|", CsvSeparator("|;"));
  for (const std::string_view unusable : {"", "\"", "\r", "\n;"}) EXPECT_EQ(",", CsvSeparator(unusable));
}

// A cell's tab, CR or LF would start a column or a row of its own where the copy is pasted.
TEST(CallRowsText, TabSeparatedForTheClipboardWithNoTabOrLineBreakInACell) {
  const CallLogIndex index("IN 4711 815 2005-03-01 14:05:09\r\nIN\t1 , \"x\"  a\rb\"c\r\n");
  std::string copied;
  AppendTabSeparatedRow(copied, index, 0);
  AppendTabSeparatedRow(copied, index, 1);
  EXPECT_EQ("IN\t815\t4711\t2005-03-01\t14:05:09\t\r\nIN 1\t\"x\"\t,\t\ta b\"c\t\r\n", copied);
}

}  // namespace
}  // namespace tfm
