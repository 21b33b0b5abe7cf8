#include "calllog/CallLogReader.h"

namespace tfm {
namespace {

constexpr int kEndOfText = -1;
constexpr int kControlZ = 0x1A;

}  // namespace

int TextModeLineReader::Peek() {
  if (m_ended) return kEndOfText;
  if (m_position == m_length) {
    m_length = std::fread(m_chunk, 1, sizeof m_chunk, m_file);
    m_position = 0;
    if (m_length == 0) {
      m_ended = true;
      return kEndOfText;
    }
  }
  if (m_chunk[m_position] == kControlZ) {
    m_ended = true;
    return kEndOfText;
  }
  return m_chunk[m_position];
}

int TextModeLineReader::Next() {
  const int c = Peek();
  if (c == kEndOfText) return c;
  ++m_position;
  if (c == '\r' && Peek() == '\n') {
    ++m_position;
    return '\n';
  }
  return c;
}

size_t TextModeLineReader::ReadPiece(char* buffer, size_t capacity) {
  if (capacity == 0) return 0;
  size_t count = 0;
  while (count + 1 < capacity) {
    const int c = Next();
    if (c == kEndOfText) break;
    buffer[count++] = static_cast<char>(c);
    if (c == '\n') break;
  }
  buffer[count] = '\0';
  return count;
}

std::vector<CallLogRow> ReadCallLog(std::FILE* file) {
  std::vector<CallLogRow> rows;
  TextModeLineReader reader(file);
  char line[kCallLogLineBufferLength];
  while (size_t length = reader.ReadPiece(line, sizeof line)) {
    if (auto row = SplitCallLogLine(std::string_view(line, length))) rows.push_back(std::move(*row));
  }
  return rows;
}

std::vector<CallLogRow> ReadCallLog(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return {};
  std::vector<CallLogRow> rows = ReadCallLog(file);
  std::fclose(file);
  return rows;
}

}  // namespace tfm
