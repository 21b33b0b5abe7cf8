#include "ui/CallLogReader.h"

#include <cstring>

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

std::optional<CallLogRow> SplitCallLogLine(std::string_view piece) {
  piece = piece.substr(0, piece.find('\0'));
  const size_t lineFeed = piece.find('\n');
  if (lineFeed == std::string_view::npos) return std::nullopt;
  std::string_view rest = piece.substr(0, lineFeed);

  std::string_view fields[4];
  for (std::string_view& field : fields) {
    const size_t space = rest.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    field = rest.substr(0, space);
    rest.remove_prefix(space + 1);
  }
  return CallLogRow{std::string(fields[0]), std::string(fields[1]), std::string(fields[2]), std::string(fields[3]),
                    std::string(rest)};
}

std::vector<CallLogRow> ReadCallLog(const std::string& path) {
  std::vector<CallLogRow> rows;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return rows;
  TextModeLineReader reader(file);
  char line[kCallLogLineBufferLength];
  while (size_t length = reader.ReadPiece(line, sizeof line)) {
    if (auto row = SplitCallLogLine(std::string_view(line, length))) rows.push_back(std::move(*row));
  }
  std::fclose(file);
  return rows;
}

std::string CallLogPathForReading(const std::string& executableFileName) {
  const size_t slash = executableFileName.rfind('\\');
  const std::string directory = slash == std::string::npos ? std::string() : executableFileName.substr(0, slash + 1);
  return directory + "isdncall.log";
}

}  // namespace tfm
