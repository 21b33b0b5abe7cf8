#pragma once
// Listed calls as text for other programs: tab-separated lines for the clipboard, and CSV (RFC 4180)
// for a file. Both end each line in CR LF and take the cells in the columns' order.
#include <cstddef>
#include <span>
#include <string>

#include "calllog/CallLogIndex.h"

namespace tfm {

// The row shown at position; a tab inside a cell becomes a space so that the columns stay apart.
void AppendTabSeparatedRow(std::string& out, const CallLogIndex& index, size_t position);

// A line of the column titles, or of the row shown at position. A cell holding a comma, a quote, a CR
// or an LF is quoted, its quotes doubled.
void AppendCsvLine(std::string& out, std::span<const std::string_view> cells);
void AppendCsvRow(std::string& out, const CallLogIndex& index, size_t position);

}  // namespace tfm
