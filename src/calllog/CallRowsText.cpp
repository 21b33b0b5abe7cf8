#include "calllog/CallRowsText.h"

#include <algorithm>
#include <array>

namespace tfm {
namespace {

std::array<std::string_view, kCallColumnCount> Cells(const CallLogIndex& index, size_t position) {
  std::array<std::string_view, kCallColumnCount> cells;
  for (int column = 0; column < kCallColumnCount; ++column) cells[static_cast<size_t>(column)] = index.Cell(position, column);
  return cells;
}

}  // namespace

void AppendTabSeparatedRow(std::string& out, const CallLogIndex& index, size_t position) {
  const char* separator = "";
  for (const std::string_view cell : Cells(index, position)) {
    out += separator;
    const size_t start = out.size();
    out += cell;
    std::replace(out.begin() + static_cast<ptrdiff_t>(start), out.end(), '\t', ' ');
    separator = "\t";
  }
  out += "\r\n";
}

void AppendCsvLine(std::string& out, std::span<const std::string_view> cells) {
  const char* separator = "";
  for (const std::string_view cell : cells) {
    out += separator;
    separator = ",";
    if (cell.find_first_of(",\"\r\n") == std::string_view::npos) {
      out += cell;
      continue;
    }
    out += '"';
    for (const char c : cell) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  out += "\r\n";
}

void AppendCsvRow(std::string& out, const CallLogIndex& index, size_t position) {
  const auto cells = Cells(index, position);
  AppendCsvLine(out, cells);
}

}  // namespace tfm
