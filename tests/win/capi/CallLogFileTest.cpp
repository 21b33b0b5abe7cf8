// The call log writer against a real file beside the test program: CR LF line ends, appending, and a
// failed open that leaves the caller running.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "capi/CallLogFileWin32.h"

namespace tfm {
namespace {

std::string ReadBinary(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(CallLogFileTest, AppendsCrLfLinesBesideTheExecutable) {
  const std::string directory = GetExecutableDirectory();
  ASSERT_FALSE(directory.empty());
  EXPECT_EQ('\\', directory.back());
  const std::string path = directory + "ISDNCall.log";
  {
    std::ofstream(path, std::ios::binary) << "earlier line\r\n";
  }
  CallLogFile log;
  log.WriteCallLog("IN", "4711", "815");
  log.WriteCallLog("IN", "4711", "");
  const std::string text = ReadBinary(path);
  EXPECT_TRUE(std::regex_match(text, std::regex("earlier line\r\n"
                                                "IN 4711 815 \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\r\n"
                                                "IN 4711  \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\r\n")))
      << text;

  // Held open without sharing, the file cannot be written: the line is dropped and nothing fails.
  HANDLE locked = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, locked);
  log.WriteCallLog("IN", "1", "2");
  CloseHandle(locked);
  EXPECT_EQ(text, ReadBinary(path));
  DeleteFileA(path.c_str());
}

}  // namespace
}  // namespace tfm
