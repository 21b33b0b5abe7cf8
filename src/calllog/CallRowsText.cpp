#include "calllog/CallRowsText.h"

#include <algorithm>
#include <array>

#include "common/TextFit.h"

namespace tfm {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

std::array<std::string_view, kCallColumnCount> Cells(const CallLogIndex& index, size_t position) {
  std::array<std::string_view, kCallColumnCount> cells;
  for (int column = 0; column < kCallColumnCount; ++column) cells[static_cast<size_t>(column)] = index.Cell(position, column);
  return cells;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits with decimal or grouping marks in either locale's form: "1", "0301", "1.234,5", ".5".
bool IsDecimal(std::string_view text) {
  return std::any_of(text.begin(), text.end(), IsDigit) &&
         std::all_of(text.begin(), text.end(), [](char c) { return IsDigit(c) || c == '.' || c == ','; });
}

void DropSign(std::string_view& text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
}

// What a spreadsheet's import reads as a number: a sign, digits with decimal or grouping marks, an
// exponent, a percent sign. Generous on purpose: guarding a cell that would have stayed text is harmless.
bool ReadsAsNumber(std::string_view cell) {
  DropSign(cell);
  if (!cell.empty() && cell.back() == '%') cell.remove_suffix(1);
  const size_t exponent = cell.find_first_of("eE");
  if (exponent == std::string_view::npos) return IsDecimal(cell);
  std::string_view power = cell.substr(exponent + 1);
  DropSign(power);
  return IsDecimal(cell.substr(0, exponent)) && !power.empty() && std::all_of(power.begin(), power.end(), IsDigit);
}

// The text written before a cell so that a spreadsheet shows it as it is (see the header).
std::string_view Guard(std::string_view cell) {
  if (ReadsAsNumber(cell)) return "\t";
  if (!cell.empty() && std::string_view("=+-@\t\r").find(cell.front()) != std::string_view::npos) return "'";
  return {};
}

void AppendCsvLine(std::string& out, std::span<const std::string_view> cells, std::string_view separator) {
  std::string_view before;
  for (const std::string_view cell : cells) {
    out += before;
    before = separator;
    const std::string_view guard = Guard(cell);
    if (guard != "\t" && cell.find_first_of("\"\r\n\t") == std::string_view::npos &&
        cell.find(separator) == std::string_view::npos) {
      out += guard;
      out += cell;
      continue;
    }
    out += '"';
    out += guard;
    for (const char c : cell) {
      if (c == '"') out += '"';
      out += c;
    }
    out += '"';
  }
  out += "\r\n";
}

std::string Grouped(size_t count, std::string_view separator) {
  const std::string digits = std::to_string(count);
  std::string grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

}  // namespace

void AppendTabSeparatedRow(std::string& out, const CallLogIndex& index, size_t position) {
  const char* separator = "";
  for (const std::string_view cell : Cells(index, position)) {
    out += separator;
    const size_t start = out.size();
    out += cell;
    std::replace_if(out.begin() + static_cast<ptrdiff_t>(start), out.end(),
                    [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
    separator = "\t";
  }
  out += "\r\n";
}

std::string CsvSeparator(std::string_view listSeparator) {
  if (listSeparator.empty() || listSeparator.front() == '"' || listSeparator.front() == '\r' ||
      listSeparator.front() == '\n')
    return ",";
  return std::string(listSeparator.substr(0, Utf8SequenceLength(listSeparator)));  // its first character
}

void BeginCsv(std::string& out, std::span<const std::string_view> titles, std::string_view separator) {
  out += kUtf8ByteOrderMark;
  AppendCsvLine(out, titles, separator);
}

void AppendCsvRow(std::string& out, const CallLogIndex& index, size_t position, std::string_view separator) {
  const auto cells = Cells(index, position);
  AppendCsvLine(out, cells, separator);
}

std::string CallCountText(size_t shown, size_t total, bool searching, std::string_view thousandsSeparator) {
  std::string text = searching ? Grouped(shown, thousandsSeparator) + " of " : std::string();
  return text + Grouped(total, thousandsSeparator) + (total == 1 ? " call" : " calls");
}

}  // namespace tfm
