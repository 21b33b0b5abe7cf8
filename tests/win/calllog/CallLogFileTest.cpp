// The call log writer against a real file beside the test program: CR LF line ends that the reader
// takes back as the fields written, appending, and a failed open that leaves the caller running.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "calllog/CallLogFileWin32.h"
#include "calllog/CallLogIndex.h"
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

struct RecordingListener final : ICallLogListener {
  void OnCallLogged(const CallLogRow& row) override { rows.push_back(row); }
  std::vector<CallLogRow> rows;
};

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
  const CallLogIndex rows(ReadCallLogTail(path, 1 << 20));
  ASSERT_EQ(2u, rows.RowCount());
  ASSERT_EQ(2u, listener.rows.size());
  for (size_t row = 0; row < 2; ++row) {  // listeners get the rows that the call page lists
    EXPECT_EQ(listener.rows[row].callingNumber, rows.Cell(row, static_cast<int>(CallColumn::kCalling)));
    EXPECT_EQ(listener.rows[row].time, rows.Cell(row, static_cast<int>(CallColumn::kTime)));
  }
  EXPECT_EQ("815", listener.rows[0].callingNumber);
  EXPECT_EQ("", listener.rows[1].callingNumber);
  EXPECT_EQ(8u, listener.rows[1].time.size()) << "no carriage return is left in the last field";

  // Held open without sharing, the file cannot be written: the line is dropped and nothing fails, and
  // the listeners still hear of the call.
  os::UniqueHandle locked =
      os::AdoptFile(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(locked);
  log.WriteCallLog("IN", "1", "2");
  locked.reset();
  EXPECT_EQ(text, ReadBinary(path));
  ASSERT_EQ(3u, listener.rows.size());
  EXPECT_EQ("2", listener.rows[2].callingNumber);
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace tfm
