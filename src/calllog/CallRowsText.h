#pragma once
// Listed calls as text for other programs: tab-separated lines for the clipboard, and a CSV file that
// opens right in a spreadsheet. Both end each line in CR LF and take the cells in the columns' order.
//
// The CSV file is UTF-8 with a byte-order mark (without one a spreadsheet reads it in the ANSI code
// page) and separates its cells by the user's list separator, which is what a spreadsheet splits at
// when the file is opened with a double-click (a semicolon in most of Europe). A cell is quoted (RFC
// 4180: in double quotes, its quotes doubled) when it holds the separator, a quote, a CR, an LF or a
// tab; the tab because some imports split at tabs as well as at the separator.
//
// No cell is read as a number or evaluated as a formula:
// - A cell that would read as a number (0301555123, +4930, -5, 1,5) is written after a tab. A cell
//   that begins with a tab is text, and the tab is not shown (so LibreOffice Calc 7.4 imports it; in
//   Excel it is the usual way to keep a leading zero): 0301555123 keeps its zero and +4930 its plus,
//   and nothing shows that the cell was guarded. The tab does stay in the cell's text. Should an
//   import drop it, what is left is a plain number: the zero may be lost, but nothing is evaluated.
//   `="0301555123"`, the other common form, is itself a formula, and shows as written where formulas
//   are not evaluated on import.
// - A cell that begins as a formula does (=, +, -, @, a tab or a CR, the characters the OWASP
//   CSV-injection guidance lists) is written after an apostrophe. The apostrophe shows, but no import
//   that trims leading blanks or splits at tabs can turn that cell into a formula, which a leading tab
//   could not promise. Such a cell is a forged number or a damaged log, so showing that it was guarded
//   costs the user nothing.
// Dates and times are written as they are: a spreadsheet may read them as a date and a time, which is
// what they are.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "calllog/CallLogIndex.h"

namespace tfm {

// The row shown at position; a tab, CR or LF inside a cell becomes a space so that the columns and
// rows stay apart.
void AppendTabSeparatedRow(std::string& out, const CallLogIndex& index, size_t position);

// The separator of a CSV file for the user's list separator (UTF-8): its first character, or a comma
// when it has none or when that character cannot separate cells (a quote or a line break).
std::string CsvSeparator(std::string_view listSeparator);

// Starts a CSV file: the byte-order mark and the line of the column titles.
void BeginCsv(std::string& out, std::span<const std::string_view> titles, std::string_view separator);
// The line of the row shown at position.
void AppendCsvRow(std::string& out, const CallLogIndex& index, size_t position, std::string_view separator);

// The count under the list: "1,234 calls", or "12 of 1,234 calls" while a search text is set, the digits
// grouped by three with the user's thousands separator (UTF-8).
std::string CallCountText(size_t shown, size_t total, bool searching, std::string_view thousandsSeparator);

}  // namespace tfm
