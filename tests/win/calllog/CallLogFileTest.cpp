// The call log against a real file beside the test program: CR LF line ends that the reader takes back
// as the fields written, appending, lines kept while another program holds the file and written after,
// and a reader that shares the file with writers and says why it cannot read it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "calllog/CallLogFileWin32.h"
#include "calllog/CallLogIndex.h"
#include "calllog/CallLogReaderWin32.h"
#include "os/Owned.h"
#include "os/Process.h"

namespace tfm {
namespace {

std::string ReadBinary(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct RecordingListener final : ICallLogListener, ICallLogHealthListener {
  void OnCallLogged(const CallLogRow& row) override { rows.push_back(row); }
  void OnCallLogBlocked(const std::string& path, const std::string& reason) override {
    health.push_back("blocked " + path + ": " + reason);
  }
  void OnCallLogWritable(const std::string& path, size_t writtenLate, size_t dropped) override {
    health.push_back("writable " + path + " " + std::to_string(writtenLate) + " " + std::to_string(dropped));
  }
  std::vector<CallLogRow> rows;
  std::vector<std::string> health;
};

os::UniqueHandle Hold(const std::string& path, DWORD access, DWORD sharing) {
  return os::AdoptFile(CreateFileA(path.c_str(), access, sharing, nullptr, OPEN_EXISTING, 0, nullptr));
}

TEST(CallLogFileTest, AppendsCrLfLinesBesideTheExecutableThatReadBackAsWritten) {
  ASSERT_FALSE(os::ExecutableDirectory().empty());
  const std::string path = CallLogFilePath();
  EXPECT_EQ(os::ExecutableDirectory() + "\\ISDNCall.log", path);
  {
    std::ofstream(path, std::ios::binary) << "earlier line\r\n";
  }
  CallLogFile log;
  RecordingListener listener;
  log.AddListener(listener);
  log.WriteCallLog("IN", "4711", "815");
  log.WriteCallLog("IN", "4711", "");
  // The exact bytes (CR LF, the earlier line kept) are checked end to end against the real exe.
  const std::string text = ReadBinary(path);
  EXPECT_EQ(0u, text.rfind("earlier line\r\nIN 4711 815 ", 0)) << text;
  const CallLogIndex rows(ReadCallLogTail(path, 1 << 20).bytes);
  ASSERT_EQ(2u, rows.RowCount());
  ASSERT_EQ(2u, listener.rows.size());
  for (size_t row = 0; row < 2; ++row) {  // listeners get the rows that the call page lists
    EXPECT_EQ(listener.rows[row].callingNumber, rows.Cell(row, static_cast<int>(CallColumn::kCalling)));
    EXPECT_EQ(listener.rows[row].time, rows.Cell(row, static_cast<int>(CallColumn::kTime)));
  }
  EXPECT_EQ("815", listener.rows[0].callingNumber);
  EXPECT_EQ("", listener.rows[1].callingNumber);
  EXPECT_EQ(8u, listener.rows[1].time.size()) << "no carriage return is left in the last field";

  // Held open without sharing, the file cannot be written: the lines are kept, the listeners hear of
  // each call at once and of the trouble once, and the lines follow in order when the file is free.
  log.AddHealthListener(listener);
  os::UniqueHandle locked = Hold(path, GENERIC_READ, 0);
  ASSERT_TRUE(locked);
  log.WriteCallLog("IN", "1", "2");
  log.FlushPending();
  log.WriteCallLog("IN", "1", "3");
  EXPECT_EQ(2u, log.keptCount());
  ASSERT_EQ(4u, listener.rows.size());
  EXPECT_EQ("3", listener.rows[3].callingNumber);
  const std::string reason = os::SystemErrorText(ERROR_SHARING_VIOLATION);
  EXPECT_EQ((std::vector<std::string>{"blocked " + path + ": " + reason}), listener.health);
  EXPECT_EQ(ERROR_SHARING_VIOLATION, ReadCallLogTail(path, 1 << 20).error) << "the holder shares nothing";
  locked.reset();
  EXPECT_EQ(text, ReadBinary(path));
  log.FlushPending();
  EXPECT_EQ(0u, log.keptCount());
  const CallLogIndex after(ReadBinary(path));
  ASSERT_EQ(4u, after.RowCount());
  EXPECT_EQ("2", after.Cell(2, static_cast<int>(CallColumn::kCalling)));
  EXPECT_EQ("3", after.Cell(3, static_cast<int>(CallColumn::kCalling)));
  EXPECT_EQ("writable " + path + " 2 0", listener.health.back());
  EXPECT_EQ(2u, listener.health.size());
  EXPECT_EQ(4u, listener.rows.size());
  DeleteFileA(path.c_str());
}

// Another program that writes the log and shares it for reading and writing keeps neither the reader
// nor the writer out; a missing file is no calls, not an error.
TEST(CallLogFileTest, ReadsAndWritesBesideAnotherWriterThatShares) {
  const std::string path = CallLogFilePath();
  DeleteFileA(path.c_str());
  EXPECT_EQ(0u, ReadCallLogTail(path, 1 << 20).error);
  EXPECT_EQ("", ReadCallLogTail(path, 1 << 20).bytes);
  {
    std::ofstream(path, std::ios::binary) << "IN 4711 815 2005-03-01 14:05:09\r\n";
  }
  os::UniqueHandle other = Hold(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(other);
  CallLogFile log;
  log.WriteCallLog("IN", "4712", "816");
  EXPECT_EQ(0u, log.keptCount());
  const CallLogText read = ReadCallLogTail(path, 1 << 20);
  EXPECT_EQ(0u, read.error);
  const CallLogIndex rows(read.bytes);
  ASSERT_EQ(2u, rows.RowCount());
  EXPECT_EQ("816", rows.Cell(1, static_cast<int>(CallColumn::kCalling)));
  other.reset();
  DeleteFileA(path.c_str());
  EXPECT_EQ("The call log C:\\x\\ISDNCall.log cannot be read: " + os::SystemErrorText(ERROR_ACCESS_DENIED),
            CallLogUnreadableText("C:\\x\\ISDNCall.log", ERROR_ACCESS_DENIED));
}

}  // namespace
}  // namespace tfm
